// ulvan-run end to end: diagnostics on stderr, the listing beside the source, the run's output
// and the exit statuses.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

std::string ReadFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class UlvanRun : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::path(::testing::TempDir()) / ("ulvan_cli_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }

  fs::path Write(const std::string &name, const std::string &text) {
    const fs::path path = Dir / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  // Runs ulvan-run with the arguments (already quoted for the shell) and stdin from `input`.
  TRun Run(const std::string &args, const std::string &input = "") {
    const fs::path in = Write("stdin.txt", input);
    const fs::path out = Dir / "stdout.txt";
    const fs::path err = Dir / "stderr.txt";
    const std::string command = std::string("'") + ULVAN_RUN + "' " + args + " <'" + in.string() + "' >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    TRun run;
    run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.Out = ReadFile(out);
    run.Err = ReadFile(err);
    return run;
  }

  std::string Quoted(const fs::path &path) { return "'" + path.string() + "'"; }

  fs::path Dir;
};

TEST_F(UlvanRun, EmptyProgramCompilesToInitRet) {
  const fs::path src = Write("p.pas", "PROGRAM p; BEGIN END.");
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(ReadFile(Dir / "p.uvc"),
            "Program name: p\r\nSource file: p.pas\r\n\r\n  0\tInit\r\n  1\tRet\r\n");
}

TEST_F(UlvanRun, RunsAndWritesLinesWithLineFeedsIntoAPipe) {
  const fs::path src = Write("hello.pas", "PROGRAM Hello;\nBEGIN\n  WriteLn('Hello'); Write('a'); WriteLn('b')\nEND.\n");
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "Hello\nab\n");
}

TEST_F(UlvanRun, ReadsPipedInput) {
  const fs::path src = Write("sum.pas",
                             "VAR a, b: Integer; s: String;\nBEGIN\n ReadLn(a); ReadLn(b); ReadLn(s);\n"
                             " WriteLn(s + IntToStr(a + b))\nEND.\n");
  const TRun run = Run(Quoted(src), "40\r\nx\n2\nsum=\n");
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "Sorry?: sum=42\n");
}

TEST_F(UlvanRun, NumericReadAtTheEndOfInputIsARunTimeError) {
  const fs::path src = Write("r.pas", "VAR a: Integer;\nBEGIN\n ReadLn(a)\nEND.\n");
  const TRun run = Run(Quoted(src), "abc\n");
  EXPECT_EQ(run.Status, 2);
  EXPECT_EQ(run.Err, "[Run-time error] r.pas(3): Unexpected end of input.\n  in r, r.pas(3)\n");
}

TEST_F(UlvanRun, ARealBeyondTheRangeOfADoubleIsAskedAgain) {
  const fs::path src = Write("big.pas", "VAR x: Real;\nBEGIN\n ReadLn(x); WriteLn(FloatToStr(x))\nEND.\n");
  const TRun run = Run(Quoted(src), "1e999\n-1E400\n2.5\n");
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "Sorry?: Sorry?: 2.5\n");
}

TEST_F(UlvanRun, CompileErrorsGoToStderrAndTheListingIsStillWritten) {
  const fs::path src = Write("demo.pas", "PROGRAM demo;\nBEGIN\n  x := 1;\nEND.\n");
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err, "[Error] demo.pas(3): Undeclared variable: 'x'\n");
  EXPECT_EQ(run.Out, "");
  EXPECT_TRUE(fs::exists(Dir / "demo.uvc"));
}

TEST_F(UlvanRun, HintsDoNotStopTheRun) {
  const fs::path src = Write("h.pas", "BEGIN WriteLn('ran') END.\ntrailing words");
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Err, "[Hint] h.pas(2): Text after final 'END.' - ignored by compiler\n");
  EXPECT_EQ(run.Out, "ran\n");
}

TEST_F(UlvanRun, MissingFile) {
  const fs::path src = Dir / "missing.pas";
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err, "[Error] missing.pas(1): I/O error reading file " + src.string() + "\n");
}

TEST_F(UlvanRun, RunTimeErrorShowsItsLineAndTheActiveCalls) {
  struct Case {
    const char *name, *source, *out, *err;
  };
  const Case cases[] = {
      {"div.pas", "VAR a: Integer;\nBEGIN\n a := 0; WriteLn('before');\n a := 1 DIV a\nEND.\n",
       "before\n", "[Run-time error] div.pas(4): Division by zero.\n  in div, div.pas(4)\n"},
      {"demo.pas",
       "PROGRAM Demo;\nVAR total, count: Integer;\nFUNCTION Average(sum, n: Integer): Integer;\n"
       "BEGIN\n  Average := sum DIV n\nEND;\nPROCEDURE Report;\n  PROCEDURE Line;\n  BEGIN\n"
       "    WriteLn(IntToStr(Average(total,\n count)))\n  END;\nBEGIN\n  Line\nEND;\n"
       "BEGIN\n  total := 10; count := 0;\n  Report\nEND.\n",
       "",
       "[Run-time error] demo.pas(5): Division by zero.\n  in Average, demo.pas(5)\n"
       "  called from Line, demo.pas(10)\n  called from Report, demo.pas(14)\n"
       "  called from Demo, demo.pas(18)\n"},
      // the condition of UNTIL, the step of a FOR, a statement after a dropped constant IF
      {"loops.pas",
       "PROGRAM Loops;\nVAR i, z: Real;\nBEGIN\n  i := 0.0; z := 0.0;\n  REPEAT\n"
       "    i := i + 1.0\n  UNTIL i / z > 3.0\nEND.\n",
       "", "[Run-time error] loops.pas(7): Floating point division by zero.\n  in Loops, loops.pas(7)\n"},
      {"dead.pas",
       "VAR k, z: Integer;\nBEGIN\n  z := 0;\n  IF FALSE THEN\n    WriteLn('never')\n  ;\n"
       "  FOR k := 1 TO 3 DIV z DO\n    WriteLn('x')\nEND.\n",
       "", "[Run-time error] dead.pas(7): Division by zero.\n  in dead, dead.pas(7)\n"},
      // a routine's frame that does not fit: at the BEGIN of its body
      {"frame.pas",
       "PROGRAM Frame;\nPROCEDURE Big;\nVAR a: ARRAY[1..70000] OF Boolean;\nBEGIN\n  a[1] := TRUE\n"
       "END;\nBEGIN\n  Big\nEND.\n",
       "", "[Run-time error] frame.pas(4): Store overflow.\n  in Big, frame.pas(4)\n"
       "  called from Frame, frame.pas(8)\n"},
  };
  for (const Case &c : cases) {
    const TRun run = Run(Quoted(Write(c.name, c.source)));
    EXPECT_EQ(run.Status, 2) << c.name;
    EXPECT_EQ(run.Out, c.out) << c.name;
    EXPECT_EQ(run.Err, c.err) << c.name;
  }
}

TEST_F(UlvanRun, DeepRecursionFoldsItsIdenticalCalls) {
  const fs::path src = Write("fib.pas",
                             "PROGRAM Deep;\nFUNCTION Fib(n: Integer): Integer;\nBEGIN\n"
                             "  IF n < 2 THEN Fib := n\n  ELSE Fib := Fib(n - 1) + 1\nEND;\n"
                             "BEGIN\n  WriteLn(IntToStr(Fib(100000)))\nEND.\n");
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 2);
  // Each call of Fib takes 20 bytes of the 64001: the overflow comes after about 3200 of them.
  const std::string head =
      "[Run-time error] fib.pas(5): Store overflow.\n  in Fib, fib.pas(5)\n"
      "  called from Fib, fib.pas(5)\n  ... ";
  ASSERT_EQ(run.Err.substr(0, head.size()), head) << run.Err;
  const std::string tail = " more calls of Fib\n  called from Deep, fib.pas(8)\n";
  ASSERT_GT(run.Err.size(), head.size() + tail.size());
  EXPECT_EQ(run.Err.substr(run.Err.size() - tail.size()), tail);
  const int more = std::stoi(run.Err.substr(head.size()));
  EXPECT_GT(more, 2000);
  EXPECT_LT(more, 3300);
}

TEST_F(UlvanRun, HaltEndsWithSuccess) {
  const fs::path src = Write("halt.pas", "BEGIN WriteLn('a'); Halt; WriteLn('b') END.");
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, "a\n");
}

TEST_F(UlvanRun, CompileOnlyDoesNotRun) {
  const fs::path src = Write("c.pas", "BEGIN WriteLn('no') END.");
  const TRun run = Run("--compile-only " + Quoted(src));
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, "");
  EXPECT_TRUE(fs::exists(Dir / "c.uvc"));
}

TEST_F(UlvanRun, SeedMakesRunsRepeatable) {
  const fs::path src = Write("rnd.pas",
                             "VAR i: Integer; s: String;\nBEGIN s := '';\n FOR i := 1 TO 10 DO s := s + IntToStr(Random(100)) + ' ';\n"
                             " WriteLn(s)\nEND.\n");
  const TRun a = Run("--seed 42 " + Quoted(src));
  const TRun b = Run("--seed=42 " + Quoted(src));
  const TRun c = Run("--seed 43 " + Quoted(src));
  EXPECT_EQ(a.Status, 0);
  EXPECT_EQ(a.Out, b.Out);
  EXPECT_NE(a.Out, c.Out);
}

TEST_F(UlvanRun, UsageErrors) {
  const fs::path src = Write("u.pas", "BEGIN END.");
  const std::string cases[] = {"", "--seed", "--seed x " + Quoted(src), "--seed -1 " + Quoted(src),
                               "--frobnicate " + Quoted(src), Quoted(src) + " " + Quoted(src)};
  for (const std::string &args : cases) EXPECT_EQ(Run(args).Status, 3) << args;
  const TRun help = Run("--help");
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("Usage: ulvan-run"), std::string::npos);
}

TEST_F(UlvanRun, ListingThatCannotBeWrittenStopsTheRun) {
  const fs::path src = Write("l.pas", "BEGIN WriteLn('no') END.");
  fs::create_directories(Dir / "l.uvc");  // a folder where the listing should go
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 2);
  EXPECT_EQ(run.Out, "");
  EXPECT_FALSE(run.Err.empty());
}

}  // namespace

// Scripted debugger sessions through a pipe: commands and program input share stdin, in the
// order they are needed.
TEST_F(UlvanRun, DebugSessionsThroughAPipe) {
  struct Case {
    const char *name, *source, *input, *out, *err;
    int status;
  };
  const char *const half =
      "PROGRAM Demo;\nVAR n: Integer;\nFUNCTION Half(k: Integer): Integer;\nBEGIN\n  Half := k DIV 2\nEND;\n"
      "BEGIN\n  ReadLn(n);\n  n := Half(n);\n  WriteLn(IntToStr(n))\nEND.\n";
  const std::string ratio = std::regex_replace(half, std::regex("k DIV 2"), "84 DIV k");
  const Case cases[] = {
      {"demo.pas", half, "n\n42\nbreak 4\nc\nprint k\nbacktrace\ninfo breakpoints\nc\np n\n",
       "Stopped at demo.pas(8) in Demo\n  ReadLn(n);\n"
       "(ulvan) Stopped at demo.pas(9) in Demo\n  n := Half(n);\n"
       "(ulvan) Breakpoint set at demo.pas(5).\n"
       "(ulvan) Breakpoint at demo.pas(5) in Half\n  Half := k DIV 2\n"
       "(ulvan) k = 42\n"
       "(ulvan) #0 Half demo.pas(5)\n#1 Demo demo.pas(9)\n"
       "(ulvan) Breakpoint at demo.pas(5)\n"
       "(ulvan) 21\nProgram ended.\n"
       "(ulvan) n = 21\n(ulvan) ",
       "", 0},
      {"error.pas", ratio.c_str(), "s\n0\nstep\ns\nbt\np k\nfrobnicate\nb x\nlocals\nq\nc\n",
       "Stopped at error.pas(8) in Demo\n  ReadLn(n);\n"
       "(ulvan) Stopped at error.pas(9) in Demo\n  n := Half(n);\n"
       "(ulvan) Stopped at error.pas(5) in Half\n  Half := 84 DIV k\n"
       "(ulvan) (ulvan) #0 Half error.pas(5)\n#1 Demo error.pas(9)\n"
       "(ulvan) k = 0\n"
       "(ulvan) Unknown command: \"frobnicate\". Try \"help\".\n"
       "(ulvan) Not a number: \"x\".\n"
       "(ulvan) k = 0\nResult = 0\n(ulvan) ",
       "[Run-time error] error.pas(5): Division by zero.\n  in Half, error.pas(5)\n  called from Demo, error.pas(9)\n", 2},
      {"zero.pas", "VAR d: Integer;\nBEGIN\n  d := 0;\n  d := 1 DIV d\nEND.\n", "c\np d\nc\n",
       "Stopped at zero.pas(3) in zero\n  d := 0;\n(ulvan) (ulvan) d = 0\n(ulvan) The program is not running.\n"
       "(ulvan) ",
       "[Run-time error] zero.pas(4): Division by zero.\n  in zero, zero.pas(4)\n", 2},
  };
  for (const Case &c : cases) {
    const TRun run = Run("--debug " + Quoted(Write(c.name, c.source)), c.input);
    EXPECT_EQ(run.Status, c.status) << c.name;
    EXPECT_EQ(run.Out, c.out) << c.name;
    EXPECT_EQ(run.Err, c.err) << c.name;
  }
}
