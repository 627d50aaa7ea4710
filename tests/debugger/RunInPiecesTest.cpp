// The interpreter's debugging hook (BeginRun, Resume, SetStopPCs, RequestPause) against the
// instructions one by one: a run in pieces stops before every visit of a stop PC, wherever the
// decoder would have fused it into a superinstruction or a loop run many rounds at once, and
// ends exactly as a plain Run does.
#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "../parser/CompileHelper.h"
#include "../vm/VmTestUtil.h"

namespace {

using TRunExit = TUVCInterpreter::TRunExit;

// Programs whose code the decoder fuses in every way it knows: fill and accumulating loops,
// loop tests run in place by back edges, calls and returns, element copies.
const struct {
  const char *name;
  const char *source;
} Programs[] = {
    {"fill and dot loops", R"(PROGRAM P; VAR a, b: ARRAY[1..30] OF Integer; x: ARRAY[1..30] OF Real;
       f: ARRAY[0..40] OF Boolean; i, j, s: Integer; r: Real;
     BEGIN
       FOR i := 1 TO 30 DO a[i] := 3; FOR i := 30 DOWNTO 1 DO b[i] := i;
       FOR i := 1 TO 30 DO x[i] := i / 2; j := 0;
       WHILE j <= 40 DO BEGIN f[j] := TRUE; j := j + 3 END;
       s := 0; FOR i := 1 TO 30 DO s := s + a[i] * b[i];
       r := 0; FOR i := 1 TO 30 DO r := r + x[i] * x[i];
       WriteLn(IntToStr(s) + ' ' + FloatToStr(r))
     END.)"},
    {"while and repeat tests", R"(PROGRAM P; VAR i, k, n: Integer; done: Boolean; a, c: ARRAY[1..9] OF Integer;
     BEGIN
       i := 0; n := 0; WHILE i < 50 DO BEGIN i := i + 1; n := n + i END;
       k := 2; WHILE k <= 60 DO k := k + k; done := FALSE; i := 0;
       WHILE NOT done DO BEGIN i := i + 1; done := i > 7 END;
       FOR i := 1 TO 9 DO a[i] := 10 - i; FOR i := 1 TO 9 DO c[i] := a[10 - i];
       REPEAT n := n - 7 UNTIL n < 0;
       IF a[2] < c[2] THEN WriteLn('less'); WriteLn(IntToStr(n + k + c[4]))
     END.)"},
    {"calls, recursion and nesting", R"(PROGRAM P; VAR t: Integer;
     FUNCTION Fib(n: Integer): Integer;
     BEGIN IF n < 2 THEN Fib := n ELSE Fib := Fib(n - 1) + Fib(n - 2) END;
     PROCEDURE Outer(VAR acc: Integer);
       VAR k: Integer;
       PROCEDURE Inner; BEGIN acc := acc + k END;
     BEGIN FOR k := 1 TO 4 DO Inner END;
     BEGIN t := 0; Outer(t); WriteLn(IntToStr(Fib(9) + t)) END.)"},
    {"run-time error in a loop", R"(PROGRAM P; VAR i, s: Integer;
     BEGIN s := 0; FOR i := 5 DOWNTO 0 DO s := s + 100 DIV i END.)"},
};

IProgramRef Compiled(const char *source) {
  TCompiled c = CompileSource(source);
  EXPECT_TRUE(c.Ok) << (c.Errors.empty() ? std::string() : c.Errors.front());
  return c.Program;
}

// The indexes of the instructions in the order Step executes them.
std::vector<std::int32_t> Trace(const IProgramRef &prog) {
  TMemoryConsole console;
  TUVCInterpreter vm(&console);
  vm.LoadProgram(prog);
  std::vector<std::int32_t> trace;
  try {
    while (vm.GetPC() >= 0 && trace.size() < 2000000) {
      TInstruction next;
      prog->GetInstruction(vm.GetPC(), next);
      trace.push_back(vm.GetPC());
      vm.Step();
      if (next.Opcode == ocHalt) break;
    }
  } catch (const ERunError &) {
  }
  return trace;
}

// Runs in pieces: after each stop the stop set becomes the next of `sets` (round robin), and
// every stop must be the next visit the trace makes to a PC of the set in force. Answers the end.
vmtest::TOutcome RunInPieces(const IProgramRef &prog, const std::vector<std::int32_t> &trace,
                             const std::vector<std::vector<std::int32_t>> &sets) {
  TMemoryConsole console;
  TUVCInterpreter vm(&console);
  vm.LoadProgram(prog);
  std::size_t pos = 0, round = 0;
  std::string error;
  vm.SetStopPCs(sets[0]);
  EXPECT_TRUE(vm.BeginRun());
  try {
    for (;;) {
      const std::vector<std::int32_t> &set = sets[round % sets.size()];
      std::size_t next = pos + 1;
      while (next < trace.size() && std::find(set.begin(), set.end(), trace[next]) == set.end()) ++next;
      const TRunExit exit = vm.Resume();
      if (exit != TRunExit::AtStopPC) {
        EXPECT_EQ(next, trace.size()) << "no stop before visit " << next << " of PC " << trace[next];
        EXPECT_EQ(exit, TRunExit::Ended);
        break;
      }
      if (next >= trace.size() || vm.GetPC() != trace[next]) {
        ADD_FAILURE() << "stop at PC " << vm.GetPC() << ", expected visit " << next << " of the trace";
        vm.Stop();
        break;
      }
      pos = next;
      vm.SetStopPCs(sets[++round % sets.size()]);
    }
  } catch (const ERunError &e) {
    error = e.what();
  }
  EXPECT_FALSE(console.IsOpen);
  return vmtest::Capture(vm, console, error);
}

TEST(RunInPieces, StopsBeforeEveryVisitOfEveryStopPC) {
  for (const auto &p : Programs) {
    SCOPED_TRACE(p.name);
    const IProgramRef prog = Compiled(p.source);
    const std::vector<std::int32_t> trace = Trace(prog);
    const vmtest::TOutcome plain = vmtest::RunFast(prog);
    // Every PC alone (a loop run many rounds at once must not start at it), and as one of K
    // interleaved sets; consecutive stops alternate between two sets, so that both stay decoded
    // side by side.
    for (std::int32_t pc = 0; pc < prog->GetCount(); ++pc) {
      SCOPED_TRACE("stop at " + std::to_string(pc));
      vmtest::ExpectSameEnd(RunInPieces(prog, trace, {{pc}}), plain);
    }
    constexpr std::int32_t K = 4;
    for (std::int32_t r = 0; r < K; ++r) {
      std::vector<std::int32_t> one, other;
      for (std::int32_t pc = 0; pc < prog->GetCount(); ++pc) (pc % K == r ? one : other).push_back(pc);
      SCOPED_TRACE("stops at PC % " + std::to_string(K) + " == " + std::to_string(r));
      vmtest::ExpectSameEnd(RunInPieces(prog, trace, {one, other}), plain);
    }
  }
}

TEST(RunInPieces, PlainRunIgnoresStopsAndPauses) {
  const IProgramRef prog = Compiled(Programs[0].source);
  TMemoryConsole console;
  TUVCInterpreter vm(&console);
  vm.LoadProgram(prog);
  std::vector<std::int32_t> all;
  for (std::int32_t pc = 0; pc < prog->GetCount(); ++pc) all.push_back(pc);
  vm.SetStopPCs(all);
  vm.RequestPause();
  vm.Run();
  EXPECT_EQ(console.Output, vmtest::RunFast(prog).Output);
  EXPECT_EQ(vm.Resume(), TRunExit::Stopped);  // nothing running
}

// Endless programs: a pause requested from another thread or from the console's Poll ends the
// Resume within a bounded time; the run goes on after it and can be paused again.
TEST(RunInPieces, PauseEndsAnEndlessRun) {
  const char *const endless[] = {
      "PROGRAM P; VAR i: Integer; BEGIN i := 0; WHILE TRUE DO i := i + 1 END.",
      "PROGRAM P; VAR i: Integer; BEGIN i := 0; REPEAT Inc(i) UNTIL i < 0 END.",
      "PROGRAM P; LABEL again; VAR a: ARRAY[1..5] OF Integer; i: Integer;\n"
      "BEGIN again: FOR i := 1 TO 5 DO a[i] := i; GOTO again END.",
      "PROGRAM P; VAR n: Integer; PROCEDURE Q; BEGIN n := n + 1 END;\n"
      "BEGIN n := 0; WHILE n >= 0 DO Q END.",
  };
  const std::function<void(TUVCInterpreter &, TMemoryConsole &, std::thread &)> requesters[] = {
      [](TUVCInterpreter &vm, TMemoryConsole &, std::thread &helper) {
        helper = std::thread([&vm] {
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
          vm.RequestPause();
        });
      },
      [](TUVCInterpreter &vm, TMemoryConsole &console, std::thread &) {
        console.OnPoll = [&vm, &console] {
          if (console.PollCount == 2) vm.RequestPause();
        };
      },
  };
  for (const char *source : endless) {
    SCOPED_TRACE(source);
    const IProgramRef prog = Compiled(source);
    for (std::size_t r = 0; r < std::size(requesters); ++r) {
      TMemoryConsole console;
      TUVCInterpreter vm(&console);
      vm.LoadProgram(prog);
      ASSERT_TRUE(vm.BeginRun());
      for (int round = 0; round < 2; ++round) {
        console.PollCount = 0;
        std::thread helper;
        requesters[r](vm, console, helper);
        EXPECT_EQ(vm.Resume(), TRunExit::Paused) << "requester " << r;
        if (helper.joinable()) helper.join();
        EXPECT_TRUE(vm.IsRunning());
        EXPECT_GE(vm.GetPC(), 0);
        EXPECT_LT(vm.GetPC(), prog->GetCount());
      }
      console.OnPoll = nullptr;
      vm.RequestPause();
      EXPECT_EQ(vm.Resume(), TRunExit::Paused);  // at once: asked for between two resumes
      vm.Stop();
      EXPECT_EQ(vm.Resume(), TRunExit::Stopped);
    }
  }
}

}  // namespace
