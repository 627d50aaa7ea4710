// ulvan-run end to end: diagnostics on stderr, the listing beside the source, the run's output
// and the exit statuses.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
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
  EXPECT_EQ(run.Err, "Unexpected end of input.\n");
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

TEST_F(UlvanRun, RunTimeErrorShowsTheMessageWithAFullStop) {
  const fs::path src = Write("div.pas", "VAR a: Integer;\nBEGIN\n a := 0; WriteLn('before'); a := 1 DIV a\nEND.\n");
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 2);
  EXPECT_EQ(run.Out, "before\n");
  EXPECT_EQ(run.Err, "Division by zero.\n");
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
