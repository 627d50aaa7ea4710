// Mail through xdg-email.
#include "MailSender.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

// xdg-email's status when no program is set up to handle mail.
constexpr int NoMailProgramStatus = 3;

}  // namespace

QString MailBody(const QString &text) {
  if (text.isEmpty() || text.endsWith(QLatin1Char('\n'))) return text;
  return text + QLatin1Char('\n');
}

void TMailSender::Start(const QString &body) {
  if (Process) return;
  const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
  if (program.isEmpty()) {
    emit Finished(QStringLiteral("No mail program is set up (xdg-email was not found)."));
    return;
  }
  Process = new QProcess(this);
  Process->setProcessChannelMode(QProcess::ForwardedChannels);
  connect(Process, &QProcess::finished, this, [this](int status, QProcess::ExitStatus how) {
    if (how == QProcess::CrashExit) End(QStringLiteral("The mail program crashed."));
    else if (status == NoMailProgramStatus) End(QStringLiteral("No mail program is set up."));
    else if (status != 0)
      End(QStringLiteral("The mail program ended with exit status %1.").arg(status));
    else End({});
  });
  connect(Process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart)
      End(QStringLiteral("The mail program could not be started: %1.").arg(Process->errorString()));
  });
  Process->start(program, {QStringLiteral("--body"), body});
  if (Process) Process->closeWriteChannel();
}

void TMailSender::End(const QString &failure) {
  if (!Process) return;
  Process->deleteLater();
  Process = nullptr;
  emit Finished(failure);
}
