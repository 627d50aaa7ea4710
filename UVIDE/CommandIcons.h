// Icons of the editor window's commands: the desktop theme's icon when there is one, else a
// built-in picture.
#pragma once

#include <QIcon>

class QStyle;

enum class TCommandIcon { ciNew, ciOpen, ciSave, ciSaveAs, ciSend, ciRun, ciStop, ciExit, ciCut, ciCopy,
                          ciPaste, ciAbout };

QIcon CommandIcon(TCommandIcon which, const QStyle *style);
