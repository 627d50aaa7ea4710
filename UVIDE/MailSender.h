// Hands a text to the desktop's mail program as the body of a new message.
#pragma once

#include <QString>

// Starts `xdg-email --body TEXT` (found on PATH) with an argument vector, so no character of
// the text reaches a shell, and waits for it. True when it started and exited with status 0.
bool SendMailBody(const QString &body);
