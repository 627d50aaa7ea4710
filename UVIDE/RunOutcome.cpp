// The texts of a run's end and of a failed compilation.
#include "RunOutcome.h"

#include <QStringList>

#include "DiagnosticHints.h"

namespace {

QString Seconds(double seconds) { return QString::number(seconds, 'f', 2); }

QString LinePart(const TRunOutcome &outcome) {
  return outcome.Line > 0 ? QStringLiteral(" in line %1").arg(outcome.Line) : QString();
}

QString Counted(int count, const char *noun) {
  return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(noun),
                                                  count == 1 ? QString() : QStringLiteral("s"));
}

}  // namespace

QString RunStatusText(const TRunOutcome &outcome) {
  switch (outcome.End) {
    case TRunEnd::reFinished: return QStringLiteral("Finished in %1 s").arg(Seconds(outcome.Seconds));
    case TRunEnd::reStopped: return QStringLiteral("Stopped");
    case TRunEnd::reRunError: break;
  }
  return QStringLiteral("Run-time error") + LinePart(outcome);
}

QString RunEndLine(const TRunOutcome &outcome) {
  if (outcome.End != TRunEnd::reRunError) return RunStatusText(outcome) + QLatin1Char('.');
  return QStringLiteral("Run-time error") + LinePart(outcome) + QStringLiteral(": ") +
         outcome.Message;
}

QString RunErrorBoxText(const TRunOutcome &outcome) {
  if (outcome.Line <= 0) return outcome.Message;
  QString text = outcome.Message + QStringLiteral("\nLine %1").arg(outcome.Line);
  if (!outcome.Routine.isEmpty()) text += QStringLiteral(", in ") + outcome.Routine;
  return text;
}

QString RunEndTitle(const QString &programName, TRunEnd end) {
  const QString state = end == TRunEnd::reFinished  ? QStringLiteral("finished")
                        : end == TRunEnd::reStopped ? QStringLiteral("stopped")
                                                    : QStringLiteral("run-time error");
  return programName.isEmpty() ? state : programName + QStringLiteral(" - ") + state;
}

QString DiagnosticCounts(const std::vector<std::string> &lines) {
  int errors = 0, warnings = 0, hints = 0;
  for (const std::string &line : lines) {
    switch (SplitDiagnostic(line).Kind) {
      case TDiagnosticKind::dkError: ++errors; break;
      case TDiagnosticKind::dkWarning: ++warnings; break;
      case TDiagnosticKind::dkHint: ++hints; break;
      case TDiagnosticKind::dkOther: break;
    }
  }
  QStringList parts;
  if (errors > 0) parts << Counted(errors, "error");
  if (warnings > 0) parts << Counted(warnings, "warning");
  if (hints > 0) parts << Counted(hints, "hint");
  return parts.join(QStringLiteral(", "));
}
