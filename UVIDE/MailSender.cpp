// Mail through xdg-email.
#include "MailSender.h"

#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>

bool SendMailBody(const QString &body) {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
  if (program.isEmpty()) return false;
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  QEventLoop wait;
  bool failedToStart = false;
  QObject::connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);
  QObject::connect(&process, &QProcess::errorOccurred, &wait, [&](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) {
      failedToStart = true;
      wait.quit();
    }
  });
  process.start(program, {QStringLiteral("--body"), body});
  process.closeWriteChannel();
  // The mail program's compose dialog is modal for this command, as a mail call would be: the
  // windows are repainted meanwhile, but take no input.
  if (!failedToStart && process.state() != QProcess::NotRunning)
    wait.exec(QEventLoop::ExcludeUserInputEvents);
  if (failedToStart) return false;
  if (process.state() != QProcess::NotRunning) process.waitForFinished(-1);
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
