// Programs that misbehave at run time: each run ends, normally or with one of the machine's
// run-time errors, and never touches memory outside the store.
#include <algorithm>
#include <memory>

#include "Errors.h"
#include "Interpreter.h"
#include "MemoryConsole.h"
#include "RobustHelper.h"

namespace robust {
namespace {

struct TOutcome {
  std::string Output;
  std::string Error;  // empty: the run ended normally
  int Polls = 0;
};

class HostileProgram : public ScratchTest {
 protected:
  // Compiles (must succeed) and runs the program with piped input; the run is stopped at the
  // console's poll number `stopAtPoll` when it gets that far.
  TOutcome RunProgram(const std::string &text, const std::string &input = "", int stopAtPoll = 0) {
    const TCompiled c = Compile("p.pas", text);
    EXPECT_TRUE(c.Ok) << ::testing::PrintToString(c.Diagnostics);
    TMemoryConsole console(input, false);
    auto vm = std::make_unique<TUVCInterpreter>(&console);
    console.OnPoll = [&] {
      if (stopAtPoll > 0 && console.PollCount >= stopAtPoll) vm->Stop();
    };
    vm->LoadProgram(c.Program);
    TOutcome outcome;
    try {
      vm->Run();
    } catch (const ERunError &e) {
      outcome.Error = e.what();
    }
    EXPECT_FALSE(vm->IsRunning());
    EXPECT_GE(vm->GetSP(), -1);
    EXPECT_LE(vm->GetSP(), TUVCInterpreter::StoreLimit);
    outcome.Output = console.Output;
    outcome.Polls = console.PollCount;
    return outcome;
  }
};

TEST_F(HostileProgram, EndlessRecursionOverflowsTheStore) {
  const TOutcome o = RunProgram("PROCEDURE R(n: Integer); BEGIN R(n + 1) END;\nBEGIN R(0) END.");
  EXPECT_EQ(o.Error, "Store overflow");
}

TEST_F(HostileProgram, EndlessRecursionWithLargeFramesOverflowsTheStore) {
  const TOutcome o = RunProgram(
      "FUNCTION F(s: String): String; VAR a: ARRAY[1..100] OF String; BEGIN F := F(s + 'x') END;\n"
      "BEGIN WriteLn(F('')) END.");
  EXPECT_EQ(o.Error, "Store overflow");
}

// An index outside the array: near it, the write lands on another variable of the store; far
// from it, outside the store, the run ends with a store error.
TEST_F(HostileProgram, WritingOutsideAnArray) {
  const TOutcome o = RunProgram(
      "VAR a: ARRAY[1..10] OF Integer; i, k: Integer; s: String;\n"
      "BEGIN\n"
      "  s := 'keep';\n"
      "  i := 14; a[i] := 7; WriteLn('inside the store: ' + s);\n"
      "  FOR k := 1 TO 3 DO BEGIN i := i * 1000; a[i] := 1 END;\n"
      "  WriteLn('not reached')\n"
      "END.");
  EXPECT_EQ(o.Output, "inside the store: kee\a\r\n");  // a[14] is the last character of s
  EXPECT_EQ(o.Error, "Store over/underflow");
}

TEST_F(HostileProgram, ReadingOutsideAnArray) {
  const TOutcome o = RunProgram(
      "VAR a: ARRAY[1..10] OF Integer; i, x: Integer;\n"
      "BEGIN i := -2000000000; x := a[i]; WriteLn('not reached') END.");
  EXPECT_EQ(o.Error, "Store over/underflow");
}

TEST_F(HostileProgram, NilAndGarbagePointers) {
  const TOutcome o = RunProgram(
      "TYPE PInt = ^Integer;\nVAR p: PInt; x: Integer;\n"
      "BEGIN\n"
      "  p := NIL; x := p^; WriteLn('read at NIL: ' + IntToStr(x));\n"
      "  p := PInt(123456789); p^ := 1;\n"
      "  WriteLn('not reached')\n"
      "END.");
  EXPECT_EQ(o.Output, "read at NIL: -1\r\n");
  EXPECT_EQ(o.Error, "Store over/underflow");
}

// A string written through NIL overwrites the outermost frame's return index; the final Ret
// then leaves the program.
TEST_F(HostileProgram, StringWrittenThroughNil) {
  const TOutcome o = RunProgram(
      "TYPE TR = RECORD a: Integer; s: String END; PR = ^TR;\nVAR q: PR;\n"
      "BEGIN q := NIL; q^.s := 'overwrites the frame'; WriteLn('written') END.");
  EXPECT_EQ(o.Output, "written\r\n");
  EXPECT_EQ(o.Error, "No program or no program command present");
}

// A label declared but never placed, and a FORWARD routine whose body never comes, leave their
// jumps at -1: the run ends there, without an error.
TEST_F(HostileProgram, GotoANeverPlacedLabelEndsTheRun) {
  const TOutcome o = RunProgram("LABEL nowhere;\nBEGIN WriteLn('before'); GOTO nowhere; WriteLn('after') END.");
  EXPECT_EQ(o.Output, "before\r\n");
  EXPECT_EQ(o.Error, "");
}

TEST_F(HostileProgram, CallOfAForwardRoutineWithoutBodyEndsTheRun) {
  const TOutcome o = RunProgram("PROCEDURE Later; FORWARD;\nBEGIN WriteLn('before'); Later; WriteLn('after') END.");
  EXPECT_EQ(o.Output, "before\r\n");
  EXPECT_EQ(o.Error, "");
}

// The widest FOR range runs until its BREAK; an endless one is stopped from the console's poll.
TEST_F(HostileProgram, HugeForRanges) {
  TOutcome o = RunProgram(
      "VAR i, n: Integer;\n"
      "BEGIN n := 0;\n"
      "  FOR i := -2147483647 - 1 TO 2147483647 DO BEGIN n := n + 1; IF n = 100000 THEN BREAK END;\n"
      "  WriteLn(IntToStr(i))\n"
      "END.");
  EXPECT_EQ(o.Output, "-2147383649\r\n");
  EXPECT_EQ(o.Error, "");
  o = RunProgram("VAR i, n: Integer;\nBEGIN FOR i := 1 TO 2147483647 DO n := i END.", "", 3);
  EXPECT_EQ(o.Polls, 3);
  EXPECT_EQ(o.Error, "");
}

// Piped input that ends in the middle of a numeric read.
TEST_F(HostileProgram, PipedInputEndingInANumericRead) {
  const char *const program = "VAR a, b: Integer;\nBEGIN ReadLn(a); WriteLn(IntToStr(a)); ReadLn(b); WriteLn(IntToStr(b)) END.";
  TOutcome o = RunProgram(program, "12");
  EXPECT_EQ(o.Output, "12\r\n");
  EXPECT_EQ(o.Error, "Unexpected end of input");
  o = RunProgram(program, "1\n-");
  EXPECT_EQ(o.Output, "1\r\n");
  EXPECT_EQ(o.Error, "Unexpected end of input");
  o = RunProgram("VAR x: Real;\nBEGIN ReadLn(x) END.", "abc\n1.5x");
  EXPECT_EQ(o.Output, "Sorry?: ");
  EXPECT_EQ(o.Error, "Unexpected end of input");
}

// The same through ulvan-run: the message on stderr and exit status 2.
TEST_F(HostileProgram, RunTimeErrorsEndUlvanRunWithStatus2) {
  Write("r.pas", "PROCEDURE R(n: Integer); BEGIN R(n + 1) END;\nBEGIN R(0) END.");
  TRun run = Run(Quoted(Dir / "r.pas"));
  EXPECT_EQ(run.Status, 2);
  // Thousands of calls fold into a few lines.
  EXPECT_EQ(run.Err.rfind("[Run-time error] r.pas(1): Store overflow.\n  in R, r.pas(1)\n", 0), 0u)
      << run.Err;
  EXPECT_LT(std::count(run.Err.begin(), run.Err.end(), '\n'), 6);
  Write("n.pas", "VAR a: Integer;\nBEGIN ReadLn(a); WriteLn(IntToStr(a)); ReadLn(a) END.");
  run = Run(Quoted(Dir / "n.pas"), "42");
  EXPECT_EQ(run.Status, 2);
  EXPECT_EQ(run.Out, "42\n");
  EXPECT_EQ(run.Err, "[Run-time error] n.pas(2): Unexpected end of input.\n  in n, n.pas(2)\n");
}

}  // namespace
}  // namespace robust
