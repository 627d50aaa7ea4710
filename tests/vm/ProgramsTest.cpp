// Whole programs: frames and calls, the ways a run ends, and Run against Step.
#include "Random.h"
#include "VmTestUtil.h"

namespace {

using namespace vmtest;

TEST(Programs, HelloThroughTheMemoryConsole) {
  TAsm a;
  a.Op(ocInit).Str("Hello, world").Op(ocWriteLn).Op(ocRet);
  const TOutcome o = RunBoth(a.Prog);
  EXPECT_EQ(o.Error, "");
  EXPECT_EQ(o.Output, "Hello, world\r\n");
  EXPECT_EQ(o.PC, -1);
  EXPECT_EQ(o.SP, -1);
  EXPECT_EQ(o.MP, -1);
}

TEST(Programs, SmallestProgramEndsAfterRet) {
  TUVCInterpreter vm;
  TAsm a;
  a.Op(ocInit).Op(ocRet);
  vm.LoadProgram(a.Prog);
  vm.Step();
  EXPECT_EQ(vm.GetSP(), 11);
  EXPECT_EQ(vm.GetMP(), 0);
  vm.Step();
  EXPECT_EQ(vm.GetPC(), -1);
  vm.Step();  // stops, PC stays
  EXPECT_EQ(vm.GetPC(), -1);
  EXPECT_FALSE(vm.IsRunning());
}

TEST(Programs, CallSequenceBuildsAndRemovesAFrame) {
  // A function call: the result slot, static link, dynamic link, return index, one parameter;
  // the function stores parameter*2 into its result and returns.
  TAsm a;
  a.Op(ocInit);                        // 0
  a.Op(ocIncSP, 4);                    // 1  result slot at 12..15
  a.Op(ocPushMP);                      // 2  static link (frame at 16)
  a.Op(ocPushMP);                      // 3  dynamic link
  a.Op(ocPushPC, 5);                   // 4  return to 9
  a.Op(ocPushInt, 21);                 // 5  parameter at frame+12
  a.Op(ocSetMP, 15);                   // 6  MP := SP-15 = 16
  a.Op(ocJump, 12);                    // 7
  a.Op(ocIllegal);                     // 8  never executed
  a.Op(ocIntToStr).Op(ocWriteLn);      // 9, 10  the result, written
  a.Op(ocRet);                         // 11
  a.Op(ocPushMP).Op(ocIncInt, -4);     // 12, 13  address of the result
  a.Op(ocPushMP).Op(ocIncInt, 12).Op(ocDeref, 4);  // 14..16 the parameter
  a.Op(ocPushInt, 2).Op(ocMulInt);     // 17, 18
  a.Op(ocSto, 4);                      // 19
  a.Op(ocRet);                         // 20
  const TOutcome o = RunBoth(a.Prog);
  EXPECT_EQ(o.Error, "");
  EXPECT_EQ(o.Output, "42\r\n");
  EXPECT_EQ(o.PC, -1);
  EXPECT_EQ(o.SP, -1);
  EXPECT_EQ(o.MP, -1);
  EXPECT_EQ(IntAt(o, 16 + 4), 0);   // the dynamic link the call stored
  EXPECT_EQ(IntAt(o, 16 + 8), 9);   // the return index
}

TEST(Programs, JumpAndPushPCUseInstructionIndexes) {
  TAsm a;
  a.Op(ocInit);                                   // 0
  a.Op(ocJump, 3);                                // 1
  a.Op(ocIllegal);                                // 2
  a.Op(ocPushPC, 3);                              // 3  pushes 6
  a.Bool(false).Op(ocJifF, 7).Op(ocIllegal);      // 4, 5, 6
  a.Bool(true).Op(ocJifF, 2).Op(ocHalt);          // 7, 8, 9
  const TOutcome o = RunBoth(a.Prog);
  EXPECT_EQ(o.Error, "");
  EXPECT_EQ(TopInt(o), 6);
  EXPECT_EQ(o.PC, 10);
}

TEST(Programs, WaysOutOfTheProgram) {
  struct Case {
    const char *name;
    TAsm prog;
    const char *error;
    std::int32_t pc;
  };
  const Case cases[] = {
      {"running past the end", TAsm().Op(ocInit).Op(ocPushInt, 1), "No program or no program command present", 2},
      {"jump past the end", TAsm().Op(ocInit).Op(ocJump, 7).Op(ocRet), "No program or no program command present", 7},
      {"jump to the end", TAsm().Op(ocInit).Op(ocJump, 3).Op(ocRet), "No program or no program command present", 3},
      {"jump to a negative index ends", TAsm().Op(ocInit).Op(ocJump, -5).Op(ocIllegal), "", -5},
      {"Ret to a far index", TAsm().Op(ocInit).Op(ocPushInt, 8).Op(ocPushInt, 1000).Op(ocSto, 4).Op(ocRet),
       "No program or no program command present", 1000},
      {"illegal instruction", TAsm().Op(ocInit).Op(ocIllegal), "No instruction", 1},
      {"opcode beyond the table", TAsm().Op(ocInit).Op(static_cast<TOpcode>(200)), "No instruction", 1},
      {"Halt", TAsm().Op(ocInit).Op(ocHalt).Op(ocIllegal), "", 2},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const TOutcome o = RunBoth(c.prog.Prog);
    EXPECT_EQ(o.Error, c.error);
    EXPECT_EQ(o.PC, c.pc);
  }
}

TEST(Programs, NoProgramLoaded) {
  TMemoryConsole console;
  TUVCInterpreter vm(&console);
  EXPECT_THROW(vm.Run(), TIllegalInstruction);
  EXPECT_FALSE(console.IsOpen);
  EXPECT_THROW(vm.Step(), TIllegalInstruction);
  TAsm empty;
  vm.LoadProgram(empty.Prog);
  EXPECT_THROW(vm.Run(), TIllegalInstruction);
}

// A loop with arithmetic, strings and a store variable: sum of i*i for i = 1..n, then text.
TAsm SumOfSquares(std::int32_t n) {
  TAsm a;
  a.Op(ocInit).Op(ocIncSP, 8);                                  // 0,1  i at 12, s at 16
  a.Op(ocPushInt, 12).Op(ocPushInt, 1).Op(ocSto, 4);            // 2..4 i := 1
  a.Op(ocPushInt, 16).Op(ocPushInt, 0).Op(ocSto, 4);            // 5..7 s := 0
  a.Op(ocPushInt, 12).Op(ocDeref, 4).Op(ocPushInt, n).Op(ocLEInt).Op(ocJifF, 31);  // 8..12
  a.Op(ocPushInt, 16);                                          // 13
  a.Op(ocPushInt, 16).Op(ocDeref, 4);                           // 14,15
  a.Op(ocPushInt, 12).Op(ocDeref, 4).Op(ocDup, 4).Op(ocMulInt); // 16..19
  a.Op(ocAddInt).Op(ocSto, 4);                                  // 20,21 s := s + i*i
  a.Op(ocPushInt, 12).Op(ocPushInt, 12).Op(ocDeref, 4).Op(ocIncInt, 1).Op(ocSto, 4);  // 22..26
  a.Op(ocJump, 8);                                              // 27
  a.Op(ocIllegal).Op(ocIllegal).Op(ocIllegal);                  // 28..30
  a.Str("sum ").Op(ocPushInt, 16).Op(ocDeref, 4).Op(ocIntToStr).Op(ocAddStr).Op(ocWriteLn);  // 31..36
  a.Op(ocIncSP, -8).Op(ocRet);                                  // 37, 38
  return a;
}

TEST(Programs, RunAndStepAgreeOnALoop) {
  const TOutcome o = RunBoth(SumOfSquares(100).Prog);
  EXPECT_EQ(o.Error, "");
  EXPECT_EQ(o.Output, "sum 338350\r\n");
  EXPECT_EQ(o.SP, -1);
}

TEST(Programs, RunAndStepAgreeOnRandomAndRealWork) {
  TAsm a;
  a.Op(ocInit);
  for (int i = 0; i < 5; ++i) a.Op(ocPushInt, 1000).Op(ocRandom).Op(ocIntToReal).Real(3).Op(ocDivReal).Op(ocSin).Op(ocFloatToStr).Op(ocWriteLn);
  a.Op(ocRet);
  RandSeed = 777;
  const TOutcome fast = RunFast(a.Prog);
  RandSeed = 777;
  const TOutcome slow = RunSteps(a.Prog);
  EXPECT_EQ(fast.Output, slow.Output);
  EXPECT_TRUE(fast.Store == slow.Store);
  EXPECT_EQ(fast.Error, "");
}

TEST(Programs, ARunContinuesAfterTheStoreItLeft) {
  // The store is not cleared by LoadProgram: a second program sees the first one's bytes.
  TMemoryConsole console;
  TUVCInterpreter vm(&console);
  TAsm first;
  first.Op(ocInit).Op(ocPushInt, 1234).Op(ocHalt);
  vm.LoadProgram(first.Prog);
  vm.Run();
  TAsm second;
  second.Op(ocPushInt, 12).Op(ocDeref, 4).Op(ocHalt);
  vm.LoadProgram(second.Prog);
  vm.SetRegisters(0, 0, 15);
  vm.Run();
  EXPECT_EQ(vm.PopIntValue(), 1234);
}

}  // namespace
