// The hints are keyed by the start of the compiler's message text; the first entry whose key
// begins the message wins, so a longer key stands before a shorter one it starts with.
#include "DiagnosticHints.h"

#include <cctype>
#include <charconv>
#include <utility>

namespace {

struct THintEntry {
  std::string_view Key;
  std::string_view Hint;
};

constexpr THintEntry Hints[] = {
    {"The numbers of actual and formal parameters differ",
     "Write and WriteLn take one String: join the parts with + and turn numbers into text with "
     "IntToStr or FloatToStr; other routines take as many arguments as they declare"},
    {"Types of formal and actual var parameters must be equal",
     "A VAR parameter needs a variable of exactly the declared type, not a value or expression"},
    {"Types of formal and actual parameters differ",
     "The argument has the wrong type: WriteLn needs a String (WriteLn(IntToStr(n))), IntToStr "
     "an Integer (Round turns a Real into one)"},
    {"Irrelevant types",
     "+ joins two Strings or adds two numbers: turn a number into text first, as in "
     "'x = ' + IntToStr(x)"},
    {"Bad factor",
     "A value is expected here: look for a quote left open ('text' needs both quotes; \"text\" "
     "is no string), a missing operand or a stray symbol"},
    {"; missing",
     "Put a ; between two statements or declarations; it is usually missing at the end of the "
     "line before"},
    {":= missing", "Assign with := and compare with =, as in x := 1"},
    {") missing",
     "Every ( needs its ); ReadLn reads one variable at a time: ReadLn(x); ReadLn(y)"},
    {"END missing",
     "Every BEGIN needs its END: count them; only the last END of the program takes a ."},
    {"THEN missing", "Write IF condition THEN statement"},
    {"DO missing", "Write WHILE condition DO statement, or FOR i := 1 TO n DO statement"},
    {"Undeclared variable",
     "Declare each variable in a VAR section before BEGIN, and check the spelling of its name"},
    {"Undeclared identifier",
     "Declare the name before it is used (VAR, CONST, TYPE or a routine above), and check its "
     "spelling"},
    {"Identifier redeclared",
     "A name can be declared only once in a block; the names of the program and of its "
     "routines count too"},
    {"Unexpected ELSE", "Write no ; before ELSE: IF c THEN a ELSE b is one statement"},
    {"Unexpected end of file encountered",
     "The text ends inside the program: an END, the closing } of a comment or the final END. "
     "is missing"},
    {"Unexpected ",
     "This cannot stand here: often the ; before it is missing, or an END closes too early"},
    {"Illegal assignment",
     "The value does not fit the variable: Round(r) turns a Real into an Integer, / always "
     "gives a Real (DIV divides Integers), and text goes only into a String"},
    {"Integer type expected", "A FOR loop counts with an Integer variable and Integer bounds"},
    {"Boolean type expected",
     "IF, WHILE and UNTIL need a condition that is true or false, as in x > 0"},
    {"Can't compare different types",
     "Compare a String with a String and a number with a number; with AND and OR put each "
     "comparison in parentheses: (x > 0) AND (x < 5)"},
    {"Text after final 'END.'",
     "The program ended at an earlier END. : an inner END is followed by ; not by ."},
    {"Cannot BREAK here", "BREAK works only inside a FOR, WHILE or REPEAT loop"},
    {"Cannot CONTINUE here", "CONTINUE works only inside a FOR, WHILE or REPEAT loop"},
    {"Procedures do not return values",
     "Only a FUNCTION gives a value; call a PROCEDURE as a statement of its own"},
    {"Program name missing", "The program starts with PROGRAM and a name, as in PROGRAM Hello;"},
    {"Label '", "A name followed by : is read as a label: write := without a space to assign"},
};

// "(digits): " at `at`, returning the length of it, or 0.
std::size_t LinePartAt(std::string_view line, std::size_t at) {
  if (at >= line.size() || line[at] != '(') return 0;
  std::size_t i = at + 1;
  while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
  if (i == at + 1 || line.substr(i, 3) != "): ") return 0;
  return i + 3 - at;
}

}  // namespace

TDiagnosticParts SplitDiagnostic(std::string_view line) {
  TDiagnosticParts parts;
  parts.Message = line;
  constexpr std::pair<std::string_view, TDiagnosticKind> kinds[] = {
      {"[Error] ", TDiagnosticKind::dkError},
      {"[Fatal Error] ", TDiagnosticKind::dkError},
      {"[Warning] ", TDiagnosticKind::dkWarning},
      {"[Hint] ", TDiagnosticKind::dkHint},
  };
  for (const auto &[prefix, kind] : kinds)
    if (line.starts_with(prefix)) parts.Kind = kind;
  for (std::size_t at = line.find('('); at != std::string_view::npos; at = line.find('(', at + 1))
    if (const std::size_t length = LinePartAt(line, at)) {
      const std::string_view digits = line.substr(at + 1, length - 4);
      if (std::from_chars(digits.data(), digits.data() + digits.size(), parts.Line).ec !=
          std::errc())
        parts.Line = 0;
      parts.Message = line.substr(at + length);
      break;
    }
  return parts;
}

std::string_view DiagnosticHint(std::string_view message) {
  for (const THintEntry &entry : Hints)
    if (message.starts_with(entry.Key)) return entry.Hint;
  return {};
}
