// Requests made while a program runs flat out under the debugger (pause, a new breakpoint,
// stop) are honoured.
#include <chrono>
#include <functional>
#include <thread>

#include "../parser/CompileHelper.h"
#include "Debugger.h"

namespace {

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
