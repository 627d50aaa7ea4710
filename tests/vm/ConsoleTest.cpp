// Line input with the interpreter's echo and editing, numeric input with its re-prompt, output,
// and the console's life during a run.
#include "VmTestUtil.h"

namespace {

using namespace vmtest;

// A program that reads one line into the string variable at address 12 and writes it back.
TAsm ReadAndEcho() {
  TAsm a;
  a.Op(ocInit).Op(ocIncSP, 256);                     // the variable at 12..267
  a.Op(ocPushInt, 12).Op(ocReadLn);                  // ReadLn(s)
  a.Op(ocPushInt, 12).Op(ocDeref, 256).Op(ocWriteLn);  // WriteLn(s)
  a.Op(ocIncSP, -256).Op(ocRet);
  return a;
}

// A program that reads an integer (or a real) into address 12 and leaves it there.
TAsm ReadNumber(TOpcode op) {
  TAsm a;
  a.Op(ocInit).Op(ocIncSP, 8).Op(ocPushInt, 12).Op(op).Op(ocHalt);
  return a;
}

TEST(LineInput, EchoAndBackspace) {
  struct Case {
    const char *keys;
    const char *line;
    const char *echo;
  };
  const Case cases[] = {
      {"ab\bc\r", "ac", "ab\b \bc\r\n"},
      {"\b\bx\r", "x", "x\r\n"},
      {"a\b\b\r", "", "a\b \b\r\n"},
      {"a\tb\x1b\x03\r", "a\tb\x1b\x03", "a\tb\x1b\x03\r\n"},
      {"no end", "no end", "no end"},
      {"one\ntwo\r", "one\ntwo", "one\ntwo\r\n"},
      // a key outside ASCII is its UTF-8 bytes; Backspace takes the whole character
      {"x\xC3\xA9\b\r", "x", "x\xC3\xA9\b \b\r\n"},
      {"\xE2\x82\xAC\xF0\x9F\x8D\x80\b\r", "\xE2\x82\xAC", "\xE2\x82\xAC\xF0\x9F\x8D\x80\b \b\r\n"},
      // bytes that are no UTF-8 character go one at a time
      {"a\xA9\b\r", "a", "a\xA9\b \b\r\n"},
      {"\xE9\xE9\b\r", "\xE9", "\xE9\xE9\b \b\r\n"},
  };
  for (const auto &c : cases) {
    TMemoryConsole console(c.keys);
    TUVCInterpreter vm(&console);
    EXPECT_EQ(vm.ReadConsoleLine(), c.line) << c.keys;
    EXPECT_EQ(console.Output, c.echo) << c.keys;
  }
}

TEST(LineInput, TypeAheadIsDiscarded) {
  TMemoryConsole console("typed\r");
  console.SetTypeAhead("early");
  TUVCInterpreter vm(&console);
  EXPECT_EQ(vm.ReadConsoleLine(), "typed");
}

TEST(LineInput, PipedInputEndsLinesAtLfOrCrLf) {
  TMemoryConsole console("first\r\nsecond\nthird\r\rfifth", false);
  console.SetTypeAhead("kept:");
  TUVCInterpreter vm(&console);
  EXPECT_EQ(vm.ReadConsoleLine(), "kept:first");
  EXPECT_EQ(vm.ReadConsoleLine(), "second");
  EXPECT_EQ(vm.ReadConsoleLine(), "third");
  EXPECT_EQ(vm.ReadConsoleLine(), "");
  EXPECT_EQ(vm.ReadConsoleLine(), "fifth");
  EXPECT_EQ(vm.ReadConsoleLine(), "");
  EXPECT_EQ(console.Output, "");  // no echo
}

TEST(LineInput, ProcessMessagesAfterEveryKeyButTheLast) {
  TMemoryConsole console("ab\r");
  int calls = 0;
  console.OnProcessMessages = [&] { ++calls; };
  TUVCInterpreter vm(&console);
  vm.ReadConsoleLine();
  EXPECT_EQ(calls, 2);
}

TEST(IntegerInput, RepromptsUntilALineConverts) {
  struct Case {
    const char *keys;
    std::int32_t value;
    const char *output;
  };
  const Case cases[] = {
      {" 42\r", 42, " 42\r\n"},
      {"42 \r4 2\r-0x10\r$10\r", 16, "42 \r\nSorry?: 4 2\r\nSorry?: -0x10\r\nSorry?: $10\r\n"},
      {"2147483648\r-2147483648\r", -2147483647 - 1, "2147483648\r\nSorry?: -2147483648\r\n"},
      {"\rx\r7\r", 7, "\r\nSorry?: x\r\nSorry?: 7\r\n"},
  };
  for (const auto &c : cases) {
    const TOutcome o = RunBoth(ReadNumber(ocReadLnInt).Prog, c.keys);
    EXPECT_EQ(o.Error, "");
    EXPECT_EQ(IntAt(o, 12), c.value) << c.keys;
    EXPECT_EQ(o.Output, c.output) << c.keys;
    EXPECT_EQ(o.SP, 19);
  }
}

TEST(RealInput, RepromptsUntilALineConverts) {
  struct Case {
    const char *keys;
    double value;
  };
  const Case cases[] = {{"1.5\r", 1.5}, {"-.5\r", -0.5}, {"1e3\r", 1000}, {"1E\r", 1},
                        {".\r", 0},     {"1,5\r2\r", 2}, {"2.5  \r", 2.5},
                        // beyond the range of a real: bad input, asked again
                        {"1e999\r4\r", 4}, {"-1e400\r5\r", 5}};
  for (const auto &c : cases) {
    const TOutcome o = RunBoth(ReadNumber(ocReadLnReal).Prog, c.keys);
    EXPECT_EQ(o.Error, "");
    EXPECT_EQ(RealAt(o, 12), c.value) << c.keys;
  }
  const TOutcome rejected = RunBoth(ReadNumber(ocReadLnReal).Prog, "1,5\r3\r");
  EXPECT_EQ(rejected.Output, "1,5\r\nSorry?: 3\r\n");
  const TOutcome huge = RunBoth(ReadNumber(ocReadLnReal).Prog, "1e999\r");
  EXPECT_EQ(huge.Output, "1e999\r\nSorry?: ");
  EXPECT_EQ(huge.Error, "Unexpected end of input");
}

TEST(NumberInput, EndOfInputEndsTheRun) {
  struct Case {
    TOpcode op;
    const char *keys;
    bool interactive;
    const char *error;
    const char *output;
  };
  const Case cases[] = {
      {ocReadLnInt, "", false, "Unexpected end of input", ""},
      {ocReadLnInt, "abc\n", false, "Unexpected end of input", "Sorry?: "},
      {ocReadLnInt, "12", false, "", ""},        // the last line needs no line end
      {ocReadLnInt, "x\n12\n", false, "", "Sorry?: "},
      {ocReadLnReal, "x", false, "Unexpected end of input", ""},
      {ocReadLnInt, "zz", true, "Unexpected end of input", "zz"},
  };
  for (const auto &c : cases) {
    const TOutcome o = RunBoth(ReadNumber(c.op).Prog, c.keys, c.interactive);
    EXPECT_EQ(o.Error, c.error) << c.keys;
    EXPECT_EQ(o.Output, c.output) << c.keys;
    if (*c.error) {
      EXPECT_EQ(o.PC, 3);
      EXPECT_EQ(o.SP, 23);
    }
  }
}

TEST(StringInput, StoresTheFirst255CharactersOrDiscards) {
  const TOutcome o = RunBoth(ReadAndEcho().Prog, "Hello\r");
  EXPECT_EQ(o.Error, "");
  EXPECT_EQ(o.Output, "Hello\r\nHello\r\n");
  EXPECT_EQ(StrAt(o, 12), "Hello");
  EXPECT_EQ(o.SP, -1);

  const std::string longLine(300, 'z');
  const TOutcome cut = RunBoth(ReadAndEcho().Prog, longLine + "\r", false);
  EXPECT_EQ(StrAt(cut, 12), std::string(255, 'z'));
  EXPECT_EQ(cut.Output, std::string(255, 'z') + "\r\n");

  // Address 0 (ReadLn without a variable): the line is dropped with the address.
  TAsm skip;
  skip.Op(ocInit).Op(ocPushInt, 0).Op(ocReadLn).Op(ocHalt);
  const TOutcome dropped = RunBoth(skip.Prog, "ignored\r");
  EXPECT_EQ(dropped.SP, 11);
  EXPECT_EQ(IntAt(dropped, 0), -1);
}

TEST(Output, WriteAndWriteLn) {
  TAsm a;
  a.Op(ocInit).Str("a'b").Op(ocWrite).Str("").Op(ocWriteLn).Str("\x01z").Op(ocWriteLn).Op(ocRet);
  const TOutcome o = RunBoth(a.Prog);
  EXPECT_EQ(o.Output, "a'b\r\n\x01z\r\n");
}

TEST(ConsoleLife, OpenedWithTheTitleAndReleasedEveryWay) {
  struct Case {
    TAsm prog;
    const char *error;
  };
  const Case cases[] = {
      {TAsm().Op(ocInit).Op(ocRet), ""},
      {TAsm().Op(ocInit).Op(ocHalt).Op(ocIllegal), ""},
      {TAsm().Op(ocInit).Op(ocIllegal), "No instruction"},
      {TAsm().Op(ocInit), "No program or no program command present"},
  };
  for (const auto &c : cases) {
    c.prog.Prog->SetProgramName("Demo");
    TMemoryConsole console;
    TUVCInterpreter vm(&console);
    vm.LoadProgram(c.prog.Prog);
    std::string error;
    try {
      vm.Run();
    } catch (const ERunError &e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(console.Title, "Demo");
    EXPECT_EQ(console.OpenCount, 1);
    EXPECT_FALSE(console.IsOpen);
    EXPECT_FALSE(vm.IsRunning());
  }
}

TEST(ConsoleLife, StopDuringALineReadEndsTheRunQuietly) {
  TMemoryConsole console("abc\r");
  TUVCInterpreter vm(&console);
  console.OnProcessMessages = [&] { vm.Stop(); };
  vm.LoadProgram(ReadAndEcho().Prog);
  EXPECT_NO_THROW(vm.Run());
  EXPECT_FALSE(vm.IsRunning());
  EXPECT_EQ(console.Output, "a");
  EXPECT_EQ(vm.GetPC(), 3);  // at the ReadLn
  EXPECT_TRUE(vm.LoadProgram(nullptr));
}

TEST(ConsoleLife, StopWhileANumericReadWaitsIsNoEndOfInput) {
  for (const TOpcode op : {ocReadLnInt, ocReadLnReal}) {
    TMemoryConsole console("12x");
    TUVCInterpreter vm(&console);
    console.OnWait = [&] { vm.Stop(); };
    vm.LoadProgram(ReadNumber(op).Prog);
    EXPECT_NO_THROW(vm.Run());
    EXPECT_EQ(vm.GetPC(), 3);
    EXPECT_FALSE(console.IsOpen);
  }
}

TEST(ConsoleLife, PollDuringLongLoopsCanStopTheRun) {
  // An endless loop: 0 Init, 1 Jump 1.
  TAsm a;
  a.Op(ocInit).Op(ocJump, 1);
  TMemoryConsole console;
  TUVCInterpreter vm(&console);
  console.OnPoll = [&] {
    if (console.PollCount == 3) vm.Stop();
  };
  vm.LoadProgram(a.Prog);
  vm.Run();
  EXPECT_EQ(console.PollCount, 3);
  EXPECT_EQ(vm.GetPC(), 1);
  EXPECT_FALSE(console.IsOpen);
}

TEST(ConsoleLife, LoadProgramRefusedWhileRunning) {
  TMemoryConsole console("x\r");
  TUVCInterpreter vm(&console);
  bool refused = false;
  console.OnProcessMessages = [&] { refused = !vm.LoadProgram(nullptr); };
  vm.LoadProgram(ReadAndEcho().Prog);
  vm.Run();
  EXPECT_TRUE(refused);
  EXPECT_TRUE(vm.LoadProgram(nullptr));
  EXPECT_EQ(vm.GetPC(), 0);
}

}  // namespace
