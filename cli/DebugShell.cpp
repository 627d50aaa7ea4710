#include "DebugShell.h"

#include <unistd.h>

#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "CallTrace.h"
#include "Debugger.h"
#include "FloatToStr.h"
#include "StoreAccess.h"
#include "TerminalConsole.h"

namespace {

const char HelpText[] =
    "Commands (short forms in brackets):\n"
    "  break LINE (b)      stop at LINE, or at the next line with a statement\n"
    "  delete [LINE]       remove the breakpoint at LINE (all without LINE)\n"
    "  info breakpoints    list the breakpoints\n"
    "  run, continue (c)   run to the next breakpoint or the end (run starts again after the end)\n"
    "  step (s)            to the next statement, into calls\n"
    "  next (n)            to the next statement, over calls\n"
    "  finish              until the current routine has returned\n"
    "  until LINE          run to LINE\n"
    "  stepi (si)          one machine instruction\n"
    "  print DESIGNATOR (p)  a variable, element, field or pointer target: p a[i], p r.f, p q^.next\n"
    "  locals              the parameters and locals of the selected frame\n"
    "  globals             the program's variables\n"
    "  backtrace (bt)      the active calls, innermost first\n"
    "  frame N             select frame N of the backtrace for print and locals\n"
    "  list                the source around the selected frame's line\n"
    "  machine             PC, SP, MP, the instruction at PC and the stack of the selected frame\n"
    "  help                this text\n"
    "  quit (q)            leave the debugger\n";

std::string BaseName(const std::string &path) {
  const std::size_t slash = path.find_last_of("/\\:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

class TDebugShell {
 public:
  TDebugShell(const IProgramRef &program, const std::string &sourcePath, int inFd, int outFd)
      : Program(program), Console(inFd, outFd), Machine(&Console), Debugger(Machine), InFd(inFd), OutFd(outFd) {
    std::ifstream in(sourcePath, std::ios::binary);
    Lines = SourceLines(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    File = program->GetSourceFileName().empty() ? BaseName(sourcePath) : program->GetSourceFileName();
    Debugger.Load(program);
  }

  int Run() {
    Show(Debugger.Start());
    std::string line;
    for (;;) {
      Out("(ulvan) ");
      if (!ReadLine(line)) break;
      if (!Execute(line)) break;
    }
    Debugger.Stop();
    return HadRunError ? 2 : 0;
  }

 private:
  // One command; false for quit.
  bool Execute(const std::string &line) {
    std::istringstream words(line);
    std::string command, arg;
    words >> command;
    std::getline(words, arg);
    arg.erase(0, arg.find_first_not_of(" \t"));
    arg.erase(arg.find_last_not_of(" \t\r") + 1);
    if (command.empty()) return true;
    if (command == "quit" || command == "q") return false;
    if (command == "help" || command == "h") {
      Out(HelpText);
    } else if (command == "break" || command == "b") {
      std::int32_t n = 0;
      if (!Number(arg, n)) return true;
      const std::int32_t bound = Debugger.SetBreakpoint(n);
      Out(bound == 0 ? "No statement at or after line " + arg + ".\n" : "Breakpoint set at " + Place(bound) + ".\n");
    } else if (command == "delete" || command == "d") {
      if (arg.empty()) {
        Debugger.ClearAllBreakpoints();
        Out("All breakpoints deleted.\n");
        return true;
      }
      std::int32_t n = 0;
      if (!Number(arg, n)) return true;
      Out(Debugger.ClearBreakpoint(n) ? "Breakpoint at " + Place(n) + " deleted.\n"
                                      : "No breakpoint at line " + arg + ".\n");
    } else if (command == "info") {
      if (arg != "breakpoints" && arg != "break" && arg != "b") {
        Out("Unknown info command: \"" + arg + "\". Try \"info breakpoints\".\n");
        return true;
      }
      const std::vector<std::int32_t> lines = Debugger.Breakpoints();
      if (lines.empty()) Out("No breakpoints.\n");
      for (const std::int32_t l : lines) Out("Breakpoint at " + Place(l) + "\n");
    } else if (command == "run" || command == "r") {
      if (!Debugger.IsActive()) Show(Debugger.Start());
      if (Debugger.IsActive()) Show(Debugger.Continue());
    } else if (command == "continue" || command == "c") {
      if (Running()) Show(Debugger.Continue());
    } else if (command == "step" || command == "s") {
      if (Running()) Show(Debugger.StepInto());
    } else if (command == "next" || command == "n") {
      if (Running()) Show(Debugger.StepOver());
    } else if (command == "finish") {
      if (Running()) Show(Debugger.StepOut());
    } else if (command == "until" || command == "u") {
      std::int32_t n = 0;
      if (Number(arg, n) && Running()) Show(Debugger.RunToLine(n));
    } else if (command == "stepi" || command == "si") {
      if (Running()) Show(Debugger.StepInstruction());
    } else if (command == "print" || command == "p") {
      if (arg.empty()) {
        Out("Print what? Give a variable, e.g. \"print x\".\n");
        return true;
      }
      const TEvaluation e = Debugger.Evaluate(arg, Frame);
      Out(e.Ok ? arg + " = " + e.Node.Value + "\n" : e.Error + ".\n");
    } else if (command == "locals") {
      const std::vector<TStackFrame> frames = Debugger.CallStack();
      if (Frame + 1 >= static_cast<std::int32_t>(frames.size())) {
        Values(Debugger.Globals(), "No variables.\n");
      } else {
        std::vector<TValueNode> all = Debugger.Parameters(Frame);
        for (TValueNode &n : Debugger.Locals(Frame)) all.push_back(std::move(n));
        Values(all, "No parameters or locals.\n");
      }
    } else if (command == "globals") {
      Values(Debugger.Globals(), "No global variables.\n");
    } else if (command == "backtrace" || command == "bt" || command == "where") {
      const std::vector<TStackFrame> frames = Debugger.CallStack();
      if (frames.empty()) Out("No stack.\n");
      for (std::size_t k = 0; k < frames.size(); ++k)
        Out("#" + std::to_string(k) + " " + frames[k].Routine + " " + Place(frames[k].Line) + "\n");
    } else if (command == "frame" || command == "f") {
      std::int32_t n = 0;
      if (!Number(arg, n)) return true;
      const std::vector<TStackFrame> frames = Debugger.CallStack();
      if (n < 0 || n >= static_cast<std::int32_t>(frames.size())) {
        Out("No frame " + arg + ".\n");
        return true;
      }
      Frame = n;
      Out("#" + arg + " " + frames[static_cast<std::size_t>(n)].Routine + " " +
          Place(frames[static_cast<std::size_t>(n)].Line) + "\n");
      SourceLine(frames[static_cast<std::size_t>(n)].Line);
    } else if (command == "list" || command == "l") {
      List();
    } else if (command == "machine") {
      MachineView();
    } else {
      Out("Unknown command: \"" + command + "\". Try \"help\".\n");
    }
    return true;
  }

  bool Running() {
    if (Debugger.IsActive()) return true;
    Out("The program is not running.\n");
    return false;
  }

  bool Number(const std::string &text, std::int32_t &n) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec == std::errc() && ptr == text.data() + text.size() && !text.empty()) return true;
    Out(text.empty() ? "A line number is needed.\n" : "Not a number: \"" + text + "\".\n");
    return false;
  }

  void Show(const TStopInfo &stop) {
    Frame = 0;
    switch (stop.Reason) {
      case TStopReason::Ended: Out("Program ended.\n"); return;
      case TStopReason::Stopped: Out("Program stopped.\n"); return;
      case TStopReason::RunError: {
        HadRunError = true;
        Console.Flush();
        const std::string report = FormatRunError(File, stop.Message, ActiveCalls(Machine));
        (void)!write(2, report.data(), report.size());
        return;
      }
      case TStopReason::Breakpoint: Out("Breakpoint at "); break;
      default: Out("Stopped at "); break;
    }
    HadRunError = false;
    Out(Place(stop.Line) + " in " + stop.Routine + "\n");
    SourceLine(stop.Line);
  }

  void SourceLine(std::int32_t line) {
    if (line >= 1 && line <= static_cast<std::int32_t>(Lines.size())) Out(Lines[static_cast<std::size_t>(line - 1)] + "\n");
  }

  void Values(const std::vector<TValueNode> &nodes, const char *none) {
    if (nodes.empty()) Out(none);
    for (const TValueNode &n : nodes) Out(n.Name + " = " + n.Value + "\n");
  }

  void List() {
    const std::vector<TStackFrame> frames = Debugger.CallStack();
    const std::int32_t current = Frame < static_cast<std::int32_t>(frames.size())
                                     ? frames[static_cast<std::size_t>(Frame)].Line
                                     : Debugger.LastStop().Line;
    const std::int32_t count = static_cast<std::int32_t>(Lines.size());
    const std::int32_t from = std::max(1, current - 5), to = std::min(count, std::max(current, 1) + 5);
    for (std::int32_t l = from; l <= to; ++l)
      Out((l == current ? "=> " : "   ") + std::to_string(l) + "\t" + Lines[static_cast<std::size_t>(l - 1)] + "\n");
  }

  void MachineView() {
    const TMachineState m = Debugger.Machine();
    Out("PC " + std::to_string(m.PC) + "  SP " + std::to_string(m.SP) + "  MP " + std::to_string(m.MP) + "\n");
    if (!m.Instruction.empty()) Out(std::to_string(m.PC) + "\t" + m.Instruction + "\n");
    const std::uint8_t *store = Machine.GetStore();
    for (const TStackCell &cell : Debugger.StackCells(Frame)) {
      std::string value;
      if (cell.Size == 4) {
        value = IntToStr(uvm::LoadInt(store + cell.Address));
      } else {
        static const char Hex[] = "0123456789ABCDEF";
        for (std::int32_t k = 0; k < cell.Size && k < 8; ++k) {
          if (k > 0) value += ' ';
          value += Hex[store[cell.Address + k] >> 4];
          value += Hex[store[cell.Address + k] & 15];
        }
        if (cell.Size > 8) value += " ...";
      }
      std::string address = std::to_string(cell.Address);
      address.insert(0, address.size() < 6 ? 6 - address.size() : 0, ' ');
      Out(address + "  " + (cell.Label.empty() ? std::string("-") : cell.Label) + " = " + value + "\n");
    }
  }

  std::string Place(std::int32_t line) const {
    return line > 0 ? File + "(" + std::to_string(line) + ")" : File;
  }

  // A command line from the input, read byte by byte so that the program's input after it
  // stays unread. False at the end of the input with nothing read.
  bool ReadLine(std::string &line) {
    line.clear();
    for (;;) {
      char c = 0;
      const ssize_t n = read(InFd, &c, 1);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return !line.empty();
      if (c == '\n') return true;
      line += c;
    }
  }

  // The debugger's own output, after whatever the program has written so far.
  void Out(const std::string &text) {
    Console.Flush();
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = write(OutFd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;
      done += static_cast<std::size_t>(n);
    }
  }

  IProgramRef Program;
  TTerminalConsole Console;
  TUVCInterpreter Machine;
  TUVDebugger Debugger;
  int InFd, OutFd;
  std::vector<std::string> Lines;
  std::string File;
  std::int32_t Frame = 0;
  bool HadRunError = false;
};

}  // namespace

std::vector<std::string> SourceLines(const std::string &text) {
  std::vector<std::string> lines(1);
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

int RunDebugShell(const IProgramRef &program, const std::string &sourcePath, int inFd, int outFd) {
  TDebugShell shell(program, sourcePath, inFd, outFd);
  return shell.Run();
}
