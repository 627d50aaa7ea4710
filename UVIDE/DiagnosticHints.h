// Reading a diagnostic line "[Severity] file(line): message" back into its kind and message,
// and the hint on the learner's mistake that usually lies behind a message. Qt-free.
#pragma once

#include <string_view>

enum class TDiagnosticKind { dkError, dkWarning, dkHint, dkOther };

struct TDiagnosticParts {
  TDiagnosticKind Kind = TDiagnosticKind::dkOther;
  // The digits of the first "(digits): ", 0 when there is none (or they do not fit an int).
  int Line = 0;
  // The text after the first "(digits): "; the whole line when it has none.
  std::string_view Message;
};

TDiagnosticParts SplitDiagnostic(std::string_view line);

// The hint for a message (without the "[Severity] file(line): " part); empty when none fits.
std::string_view DiagnosticHint(std::string_view message);
