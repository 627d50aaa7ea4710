// ulvan-run: compiles a source file as the editor's Run does, prints the diagnostics, writes the
// listing beside the source and runs the program with the terminal as its console.
//
// Exit status: 0 compiled (and ran to its end or HALTed), 1 compilation failed, 2 run-time error
// (or the listing could not be written), 3 usage error, 130 interrupted.
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "CallTrace.h"
#include "DebugShell.h"
#include "Errors.h"
#include "IParser.h"
#include "Interpreter.h"
#include "ListingName.h"
#include "Random.h"
#include "TerminalConsole.h"

namespace {

constexpr int ExitOk = 0;
constexpr int ExitCompileFailed = 1;
constexpr int ExitRunError = 2;
constexpr int ExitUsage = 3;

const char Usage[] =
    "Usage: ulvan-run [--seed N] [--compile-only | --debug] FILE.pas\n"
    "\n"
    "Compiles FILE.pas, prints its diagnostics on standard error, writes the listing FILE.uvc\n"
    "beside it and, when the compilation succeeded, runs the program in this terminal.\n"
    "\n"
    "  --seed N        seed of the random generator (0..4294967295), for reproducible runs\n"
    "  --compile-only  compile and write the listing, do not run\n"
    "  --debug         run under the terminal debugger (below)\n"
    "  --help          show this text\n"
    "\n"
    "Exit status: 0 success, 1 compilation failed, 2 run-time error, 3 usage error,\n"
    "130 interrupted.\n"
    "\n"
    "The debugger starts stopped before the first statement. Before each command it writes\n"
    "the prompt \"(ulvan) \"; commands are read from standard input, and when that is not a\n"
    "terminal the program's input lines follow the commands in the order they are needed.\n"
    "Every stop shows \"Stopped at demo.pas(12) in Average\" (or \"Breakpoint at ...\") and\n"
    "then that line of the source; \"print x\" shows \"x = 42\"; \"backtrace\" one line per\n"
    "active call, innermost first (\"#0 Average demo.pas(12)\"); the end shows \"Program\n"
    "ended.\"; a run-time error is reported as without --debug and its state stays\n"
    "inspectable until quit. The end of the command input quits. Values: Integer in decimal,\n"
    "Real as FloatToStr prints it, TRUE/FALSE, 'text' with '' for a quote, NIL or ^address,\n"
    "records as (key: 5; next: NIL), arrays as [3, 1, 4] (after 100 elements: ..., N more).\n"
    "\n"
    "Debugger commands (short forms in brackets):\n"
    "  break LINE (b), delete [LINE], info breakpoints, run, continue (c), step (s),\n"
    "  next (n), finish, until LINE, stepi (si), print DESIGNATOR (p), locals, globals,\n"
    "  backtrace (bt), frame N, list, machine, help, quit (q)\n";

int UsageError(const std::string &message) {
  std::cerr << "ulvan-run: " << message << "\n" << Usage;
  return ExitUsage;
}

bool ParseSeed(const char *text, std::uint32_t &seed) {
  const char *end = text + std::strlen(text);
  auto [ptr, ec] = std::from_chars(text, end, seed);
  return ec == std::errc() && ptr == end && ptr != text;
}

}  // namespace

int main(int argc, char **argv) {
  bool compileOnly = false;
  bool debug = false;
  bool haveSeed = false;
  std::uint32_t seed = 0;
  std::string fileName;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << Usage;
      return ExitOk;
    } else if (arg == "--compile-only") {
      compileOnly = true;
    } else if (arg == "--debug") {
      debug = true;
    } else if (arg == "--seed") {
      if (i + 1 >= argc) return UsageError("--seed needs a number");
      if (!ParseSeed(argv[++i], seed)) return UsageError(std::string("bad seed: ") + argv[i]);
      haveSeed = true;
    } else if (arg.rfind("--seed=", 0) == 0) {
      if (!ParseSeed(arg.c_str() + 7, seed)) return UsageError("bad seed: " + arg.substr(7));
      haveSeed = true;
    } else if (arg == "--") {
      if (i + 1 != argc - 1 || !fileName.empty()) return UsageError("exactly one source file expected");
      fileName = argv[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError("unknown option " + arg);
    } else {
      if (!fileName.empty()) return UsageError("exactly one source file expected");
      fileName = arg;
    }
  }
  if (fileName.empty()) return UsageError("no source file given");
  if (debug && compileOnly) return UsageError("--debug and --compile-only exclude each other");

  IParserRef parser = NewParser();
  bool compiled = false;
  try {
    compiled = parser->Compile(fileName);
  } catch (const std::exception &e) {
    // A broken invariant of the compiler: reported, never a crash.
    std::cerr << "ulvan-run: internal error: " << e.what() << "\n";
    return ExitCompileFailed;
  }
  for (const std::string &line : parser->GetErrors()) std::cerr << line << "\n";
  IProgramRef program = parser->GetProgram();
  parser.reset();

  try {
    WriteListingBeside(*program, fileName);
  } catch (const std::exception &e) {
    std::cerr << ErrorBoxText(e.what()) << "\n";
    return compiled ? ExitRunError : ExitCompileFailed;
  }
  if (!compiled) return ExitCompileFailed;
  if (compileOnly) return ExitOk;

  if (haveSeed) RandSeed = seed;
  if (debug) return RunDebugShell(program, fileName);
  TTerminalConsole console;
  TUVCInterpreter interpreter(&console);
  interpreter.LoadProgram(program);
  try {
    interpreter.Run();
  } catch (const ERunError &e) {
    std::cout.flush();
    std::cerr << FormatRunError(program->GetSourceFileName(), ErrorBoxText(e.what()),
                                ActiveCalls(interpreter));
    return ExitRunError;
  }
  return ExitOk;
}
