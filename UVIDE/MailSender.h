// Hands a text to the desktop's mail program as the body of a new message, without waiting
// for it: the windows stay usable while the mail program starts and runs.
#pragma once

#include <QObject>
#include <QString>

class QProcess;

// The body as passed to xdg-email: LF line ends (it writes CR LF itself), every line ended.
QString MailBody(const QString &text);

class TMailSender final : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  // Starts `xdg-email --body BODY` (found on PATH) with an argument vector, so no character of
  // the text reaches a shell. Finished follows, at once when it cannot start.
  void Start(const QString &body);
  bool IsBusy() const { return Process != nullptr; }

 signals:
  // The mail program ended; `failure` is empty when it ended with status 0, else the reason.
  void Finished(const QString &failure);

 private:
  void End(const QString &failure);

  QProcess *Process = nullptr;
};
