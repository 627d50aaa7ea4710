// The debugger's runs against a plain run: every conformance program run under the debugger
// three ways ends exactly as it does without it; and requests made while a program runs flat
// out (pause, a new breakpoint, stop) are honoured.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "../parser/CompileHelper.h"
#include "../vm/VmTestUtil.h"
#include "CallTrace.h"
#include "Debugger.h"

namespace {

std::string ReadAll(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program run to its end under the debugger by `command`, repeated while the session lasts.
vmtest::TOutcome Debugged(const IProgramRef &program, const std::string &input,
                          TStopInfo (TUVDebugger::*command)()) {
  TMemoryConsole console(input, false);
  TUVCInterpreter machine(&console);
  TUVDebugger debugger(machine);
  debugger.Load(program);
  TStopInfo stop = debugger.Start();
  for (long guard = 0; debugger.IsActive() && guard < 50000000; ++guard) stop = (debugger.*command)();
  EXPECT_FALSE(console.IsOpen);
  std::string error = stop.Reason == TStopReason::RunError ? stop.Message : std::string();
  return vmtest::Capture(machine, console, error);
}

TEST(DebuggerRuns, ConformanceProgramsEndAsWithoutTheDebugger) {
  const std::filesystem::path dir = std::filesystem::path(ULVAN_SOURCE_DIR) / "tests" / "conformance";
  std::vector<std::filesystem::path> sources;
  for (const auto &entry : std::filesystem::directory_iterator(dir))
    if (entry.path().extension() == ".pas") sources.push_back(entry.path());
  std::sort(sources.begin(), sources.end());
  const struct {
    const char *name;
    TStopInfo (TUVDebugger::*command)();
  } ways[] = {{"continue", &TUVDebugger::Continue},
              {"step", &TUVDebugger::StepInto},
              {"stepi", &TUVDebugger::StepInstruction}};
  int compared = 0;
  for (const auto &source : sources) {
    SCOPED_TRACE(source.filename().string());
    TUVParser parser;
    if (!parser.Compile(source.string())) continue;
    std::filesystem::path inPath = source;
    inPath.replace_extension(".in");
    const std::string input = std::filesystem::exists(inPath) ? ReadAll(inPath) : std::string();
    vmtest::TOutcome plain = vmtest::RunFast(parser.GetProgram(), input, false);
    if (!plain.Error.empty()) plain.Error = ErrorBoxText(plain.Error);
    for (const auto &way : ways) {
      SCOPED_TRACE(way.name);
      vmtest::ExpectSameEnd(Debugged(parser.GetProgram(), input, way.command), plain);
    }
    ++compared;
  }
  EXPECT_GT(compared, 50);
}

// An endless program; line 5 is the loop's body.
const char EndlessSource[] =
    "PROGRAM Endless;\n"
    "VAR i: Integer;\n"
    "BEGIN\n"
    "  i := 0; WHILE TRUE DO\n"
    "    i := i + 1\n"
    "END.\n";

TEST(DebuggerRuns, RequestsDuringARunAreHonoured) {
  const TCompiled c = CompileSource(EndlessSource);
  ASSERT_TRUE(c.Ok);
  struct TCase {
    const char *name;
    // Arranges the request; `debugger` runs Continue afterwards.
    std::function<void(TUVDebugger &, TMemoryConsole &, std::thread &)> arrange;
    TStopReason reason;
    std::int32_t line;
  };
  const TCase cases[] = {
      {"pause from another thread",
       [](TUVDebugger &d, TMemoryConsole &, std::thread &t) {
         t = std::thread([&d] {
           std::this_thread::sleep_for(std::chrono::milliseconds(30));
           d.Pause();
         });
       },
       TStopReason::Pause, 5},
      {"pause from the console's poll",
       [](TUVDebugger &d, TMemoryConsole &console, std::thread &) {
         console.OnPoll = [&d, &console] { if (console.PollCount == 3) d.Pause(); };
       },
       TStopReason::Pause, 5},
      {"a breakpoint set during the run",
       [](TUVDebugger &d, TMemoryConsole &console, std::thread &) {
         console.OnPoll = [&d, &console] { if (console.PollCount == 3) d.SetBreakpoint(5); };
       },
       TStopReason::Breakpoint, 5},
      {"stop from the console's poll",
       [](TUVDebugger &d, TMemoryConsole &console, std::thread &) {
         console.OnPoll = [&d, &console] { if (console.PollCount == 3) d.Stop(); };
       },
       TStopReason::Stopped, 5},
  };
  for (const TCase &tc : cases) {
    SCOPED_TRACE(tc.name);
    TMemoryConsole console;
    TUVCInterpreter machine(&console);
    TUVDebugger debugger(machine);
    debugger.Load(c.Program);
    debugger.Start();
    std::thread helper;
    tc.arrange(debugger, console, helper);
    const TStopInfo stop = debugger.Continue();
    if (helper.joinable()) helper.join();
    EXPECT_EQ(stop.Reason, tc.reason);
    EXPECT_EQ(stop.Line, tc.line);
    EXPECT_EQ(debugger.IsActive(), tc.reason != TStopReason::Stopped);
    EXPECT_FALSE(debugger.IsRunning());
  }
}

}  // namespace
