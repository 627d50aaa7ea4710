// The console side of the interpreter: writing text and reading lines and numbers with the
// interpreter's own echo and editing.
#include "Errors.h"
#include "Interpreter.h"
#include "NumberSyntax.h"
#include "StoreAccess.h"
#include "Utf8.h"

namespace {

// Brackets a line read, also when it ends by an exception.
class TLineReadScope {
 public:
  TLineReadScope(IConsole &console, bool &inRead) : Console(console), InRead(inRead) {
    InRead = true;
    Console.BeginLineRead();
  }
  ~TLineReadScope() {
    Console.EndLineRead();
    InRead = false;
  }
  TLineReadScope(const TLineReadScope &) = delete;
  TLineReadScope &operator=(const TLineReadScope &) = delete;

 private:
  IConsole &Console;
  bool &InRead;
};

// Backspace takes the last character off the line, a whole UTF-8 sequence included. False when
// the line is empty.
bool EraseLastCharacter(std::string &line) {
  if (line.empty()) return false;
  line.resize(Utf8CharStartBefore(line, line.size()));
  return true;
}

}  // namespace

void TUVCInterpreter::WriteConsoleText(std::string_view text) { Console->Write(text); }

std::string TUVCInterpreter::ReadConsoleLine() { return ReadLine().Text; }

TUVCInterpreter::TLine TUVCInterpreter::ReadLine() {
  const bool interactive = Console->IsInteractive();
  TLineReadScope scope(*Console, InRead);
  StopRequested = false;
  if (interactive) Console->DiscardInput();
  std::string line;
  for (;;) {
    const int c = Console->ReadChar();
    // A Stop during the wait (the console closed, the Stop command) ends the run quietly.
    if (StopRequested) throw uvm::TRunStopped();
    if (c == IConsole::NoChar) return {line, true};
    if (!interactive) {
      // Piped input: LF, CR or CR LF end a line, without echo.
      const bool skip = SkipLF && c == '\n';
      SkipLF = false;
      if (skip) continue;
      if (c == '\r') SkipLF = true;
      if (c == '\r' || c == '\n') return {line, false};
      if (c == 8) {
        EraseLastCharacter(line);
      } else {
        line += static_cast<char>(c);
      }
    } else if (c == 8) {
      if (EraseLastCharacter(line)) Console->Write("\b \b");
    } else {
      const char ch = static_cast<char>(c);
      if (c == '\r') {
        Console->Write("\r\n");
        return {line, false};
      }
      Console->Write(std::string_view(&ch, 1));
      line += ch;
    }
    Console->ProcessMessages();
    if (StopRequested) throw uvm::TRunStopped();
  }
}

std::int32_t TUVCInterpreter::ReadConsoleInt() {
  for (;;) {
    const TLine line = ReadLine();
    std::int32_t value;
    if (TryStrToInt(line.Text, value)) return value;
    if (line.AtEnd) throw EEndOfInput();
    WriteConsoleText("Sorry?: ");
  }
}

double TUVCInterpreter::ReadConsoleReal() {
  for (;;) {
    const TLine line = ReadLine();
    double value;
    // A number beyond the range of a real is bad input like any other.
    if (TryStrToReal(line.Text, value) == TRealConversion::rcOk) return value;
    if (line.AtEnd) throw EEndOfInput();
    WriteConsoleText("Sorry?: ");
  }
}
