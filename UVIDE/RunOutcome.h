// How a run ended, and the texts the editor window and the console show for it.
#pragma once

#include <string>
#include <vector>

#include <QString>

enum class TRunEnd { reFinished, reStopped, reRunError };

struct TRunOutcome {
  TRunEnd End = TRunEnd::reFinished;
  double Seconds = 0;  // the run's duration
  QString Message;     // run-time error: its text as the error box shows it ("Division by zero.")
  int Line = 0;        // run-time error: the failing line, 0 when unknown
  QString Routine;     // run-time error: the innermost active routine, empty when unknown
};

// The status bar: "Finished in 0.42 s", "Stopped", "Run-time error in line 12".
QString RunStatusText(const TRunOutcome &outcome);
// The console's last line: "Finished in 0.42 s.", "Stopped.",
// "Run-time error in line 12: Division by zero.".
QString RunEndLine(const TRunOutcome &outcome);
// The error box of a run-time error: the message, then "Line 12, in Average" when known.
QString RunErrorBoxText(const TRunOutcome &outcome);
// The console's title after the run: "NAME - finished", "NAME - stopped", "NAME - run-time error".
QString RunEndTitle(const QString &programName, TRunEnd end);

// The numbers of the compiler's diagnostic lines by severity, as "2 errors, 1 warning, 1 hint"
// (a Fatal Error counts as an error; severities without a line are left out).
QString DiagnosticCounts(const std::vector<std::string> &lines);
