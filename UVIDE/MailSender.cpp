// Mail through xdg-email.
#include "MailSender.h"

#include <QProcess>
#include <QStandardPaths>

bool SendMailBody(const QString &body) {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
  if (program.isEmpty()) return false;
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start(program, {QStringLiteral("--body"), body});
  if (!process.waitForStarted(-1)) return false;
  process.closeWriteChannel();
  // The mail program's compose dialog is modal for this command, as a mail call would be.
  if (!process.waitForFinished(-1)) return false;
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
