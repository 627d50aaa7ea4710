// Sources no compiler should choke on: empty, binary, deeply nested, over-long tokens, open
// comments, every kind of line end, NUL bytes, and files that cannot be read as text. Each
// ends with diagnostics; none crashes, hangs or runs out of stack.
#include <sys/stat.h>

#include <functional>
#include <random>

#include "Interpreter.h"
#include "MemoryConsole.h"
#include "RobustHelper.h"

namespace robust {
namespace {

std::string Repeat(const std::string &text, int n) {
  std::string out;
  out.reserve(text.size() * static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) out += text;
  return out;
}

constexpr int Deep = 100000;

struct TSourceCase {
  const char *Name;
  std::function<std::string()> Text;
  std::vector<std::string> Expected;  // the diagnostics, exactly; the compile fails
};

class HostileSource : public ScratchTest, public ::testing::WithParamInterface<TSourceCase> {};

TEST_P(HostileSource, EndsWithTheExpectedDiagnostics) {
  const TCompiled c = Compile("h.pas", GetParam().Text());
  EXPECT_FALSE(c.Ok);
  EXPECT_EQ(c.Diagnostics, GetParam().Expected);
}

const TSourceCase SourceCases[] = {
    {"Empty", [] { return std::string(); }, {"[Error] h.pas(1): Unexpected end of file encountered"}},
    {"OnlyBlanks", [] { return std::string("  \r\n\t \n"); },
     {"[Error] h.pas(3): Unexpected end of file encountered"}},
    // Nesting beyond the parser's guard ends in "Parsing error", whatever construct nests.
    {"NestedParentheses",
     [] { return "VAR x: Integer;\nBEGIN\nx := " + Repeat("(", Deep) + "1" + Repeat(")", Deep) + "\nEND.\n"; },
     {"[Error] h.pas(3): Parsing error"}},
    {"NestedBegins", [] { return "BEGIN\n" + Repeat("BEGIN ", Deep) + Repeat("END ", Deep) + "\nEND.\n"; },
     {"[Error] h.pas(2): Parsing error"}},
    {"NestedIfs", [] { return "VAR b: Boolean;\nBEGIN\n" + Repeat("IF b THEN ", Deep) + "b := TRUE\nEND.\n"; },
     {"[Error] h.pas(3): Parsing error"}},
    {"NestedWhiles", [] { return "VAR b: Boolean;\nBEGIN\n" + Repeat("WHILE b DO ", Deep) + "b := TRUE\nEND.\n"; },
     {"[Error] h.pas(3): Parsing error"}},
    {"NestedRepeats", [] { return "BEGIN\n" + Repeat("REPEAT ", Deep) + Repeat(" UNTIL TRUE", Deep) + "\nEND.\n"; },
     {"[Error] h.pas(2): Parsing error"}},
    {"NestedFors",
     [] { return "VAR i: Integer;\nBEGIN\n" + Repeat("FOR i := 1 TO 2 DO ", Deep) + "i := 1\nEND.\n"; },
     {"[Error] h.pas(3): Parsing error"}},
    {"NestedNots", [] { return "VAR b: Boolean;\nBEGIN\nb := " + Repeat("NOT ", Deep) + "TRUE\nEND.\n"; },
     {"[Error] h.pas(3): Parsing error"}},
    {"NestedIndexes",
     [] {
       return "VAR a: ARRAY[1..2] OF Integer;\nBEGIN\na[1] := " + Repeat("a[", Deep) + "1" + Repeat("]", Deep) +
              "\nEND.\n";
     },
     {"[Error] h.pas(3): Parsing error"}},
    {"NestedCalls",
     [] {
       return "FUNCTION f(x: Integer): Integer; BEGIN f := x END;\nVAR x: Integer;\nBEGIN\nx := " +
              Repeat("f(", Deep) + "1" + Repeat(")", Deep) + "\nEND.\n";
     },
     {"[Error] h.pas(4): Parsing error"}},
    {"NestedConversions",
     [] { return "VAR x: Integer;\nBEGIN\nx := " + Repeat("Round(Real(", Deep) + "1" + Repeat("))", Deep) + "\nEND.\n"; },
     {"[Error] h.pas(3): Parsing error"}},
    {"NestedRecords",
     [] { return "TYPE T = " + Repeat("RECORD a: ", Deep) + "Integer" + Repeat(" END", Deep) + ";\nBEGIN\nEND.\n"; },
     {"[Error] h.pas(1): Parsing error"}},
    {"NestedArrayTypes",
     [] { return "TYPE T = " + Repeat("ARRAY[1..2] OF ", Deep) + "Integer;\nBEGIN\nEND.\n"; },
     {"[Error] h.pas(1): Parsing error"}},
    {"NestedProcedures",
     [] {
       std::string text;
       for (int k = 0; k < Deep; ++k) text += "PROCEDURE p" + std::to_string(k) + "; ";
       return text + Repeat("BEGIN END; ", Deep) + "\nBEGIN\nEND.\n";
     },
     {"[Error] h.pas(1): Parsing error"}},
    // Tokens far beyond their limits are Erroneus Tokens.
    {"HugeIdentifier", [] { return "VAR\n" + std::string(100000, 'a') + ": Integer;\nBEGIN\nEND.\n"; },
     {"[Error] h.pas(2): Unexpected Erroneus Token"}},
    {"HugeString", [] { return "BEGIN\nWriteLn('" + std::string(100000, 's') + "')\nEND.\n"; },
     {"[Error] h.pas(2): Bad factor"}},
    {"HugeNumber", [] { return "VAR x: Integer;\nBEGIN\nx := " + std::string(100000, '9') + "\nEND.\n"; },
     {"[Error] h.pas(3): Bad factor"}},
    // A comment left open at the start swallows the whole file.
    {"UnclosedCommentAtTheStart", [] { return std::string("{ never closed\nPROGRAM p;\nBEGIN\nEND.\n"); },
     {"[Error] h.pas(5): Unexpected end of file encountered"}},
};

INSTANTIATE_TEST_SUITE_P(Robust, HostileSource, ::testing::ValuesIn(SourceCases),
                         [](const auto &info) { return std::string(info.param.Name); });

// Random bytes: diagnostics only, each well formed and at most one Error per line.
TEST_F(ScratchTest, BinaryFileGivesDiagnosticsOnly) {
  std::mt19937 random(7);
  std::string bytes(65536, '\0');
  for (char &b : bytes) b = static_cast<char>(random() & 0xFF);
  const TCompiled c = Compile("bin.pas", bytes);
  EXPECT_FALSE(c.Ok);
  ASSERT_FALSE(c.Diagnostics.empty());
  std::size_t lines = 1;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))) ++lines;
  EXPECT_LE(c.Diagnostics.size(), lines + 1);
  for (const std::string &d : c.Diagnostics) EXPECT_EQ(d.rfind("[Error] bin.pas(", 0), 0u) << d;
}

// CR, LF, CR LF and a mix of them count lines alike; a string literal ends at any of them.
TEST_F(ScratchTest, EveryKindOfLineEndCountsTheSame) {
  const std::vector<std::string> lines = {"PROGRAM p;", "VAR i: Integer;", "BEGIN", "  i := 'x';",
                                          "  WriteLn('open", "  ');", "END."};
  // Line 5's literal ends at its line end, so line 6 starts a literal of its own.
  const std::vector<std::string> expected = {"[Error] h.pas(4): Illegal assignment", "[Error] h.pas(5): Bad factor",
                                             "[Error] h.pas(6): Unexpected Erroneus Token"};
  for (const char *eol : {"\r", "\n", "\r\n", "mixed"}) {
    std::string text;
    for (std::size_t k = 0; k < lines.size(); ++k) {
      static const char *const Mix[] = {"\r\n", "\n", "\r"};
      text += lines[k] + (std::string(eol) == "mixed" ? Mix[k % 3] : eol);
    }
    const TCompiled c = Compile("h.pas", text);
    EXPECT_FALSE(c.Ok);
    EXPECT_EQ(c.Diagnostics, expected) << "line ends: " << (std::string(eol) == "mixed" ? "mixed" : eol == std::string("\r") ? "CR" : eol == std::string("\n") ? "LF" : "CR LF");
  }
}

// A NUL byte is a blank between tokens and an ordinary character inside a string.
TEST_F(ScratchTest, NulBytesInTheMiddle) {
  static const char text[] = "BEGIN\n  WriteLn('a\0b');\n  \0\nEND.\n";
  const TCompiled c = Compile("h.pas", std::string(text, sizeof text - 1));
  ASSERT_TRUE(c.Ok) << ::testing::PrintToString(c.Diagnostics);
  TMemoryConsole console;
  TUVCInterpreter vm(&console);
  vm.LoadProgram(c.Program);
  vm.Run();
  EXPECT_EQ(console.Output, std::string("a\0b\r\n", 5));
}

// ---- files that are not readable text

std::string IOError(const fs::path &path, const std::string &name = "h.pas") {
  return "[Error] " + name + "(1): I/O error reading file " + path.string();
}

TEST_F(ScratchTest, FileThatDisappearedBeforeTheCompile) {
  const fs::path path = Write("h.pas", "BEGIN END.");
  fs::remove(path);
  const TCompiled c = CompileFile(path);
  EXPECT_FALSE(c.Ok);
  EXPECT_EQ(c.Diagnostics, std::vector<std::string>{IOError(path)});
}

TEST_F(ScratchTest, FolderGivenAsTheFile) {
  fs::create_directory(Dir / "h.pas");
  const TCompiled c = CompileFile(Dir / "h.pas");
  EXPECT_FALSE(c.Ok);
  EXPECT_EQ(c.Diagnostics, std::vector<std::string>{IOError(Dir / "h.pas")});
}

// A pipe without a writer and an endless device are refused at once instead of blocking or
// reading forever.
TEST_F(ScratchTest, PipeGivenAsTheFile) {
  const fs::path path = Dir / "h.pas";
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  const TRun run = Run("--compile-only " + Quoted(path));
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err, IOError(path) + "\n");
}

TEST_F(ScratchTest, EndlessDeviceGivenAsTheFile) {
  const fs::path path = Dir / "h.pas";
  fs::create_symlink("/dev/zero", path);
  const TRun run = Run("--compile-only " + Quoted(path));
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err, IOError(path) + "\n");
}

// Without read permission. The tests may run as root, whom permissions do not stop: then the
// compile runs in a child process that has given up root for the user nobody, with a copy of
// ulvan-run in the scratch folder (the build folder may be closed to nobody).
TEST_F(ScratchTest, FileWithoutReadPermission) {
  const fs::path path = Write("h.pas", "BEGIN WriteLn('secret') END.");
  fs::permissions(path, fs::perms::none);
  fs::permissions(Dir, fs::perms::all);  // nobody writes the listing here
  const fs::path runner = Dir / "ulvan-run";
  fs::copy_file(ULVAN_RUN, runner);
  fs::permissions(runner, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(90);
    if (geteuid() == 0) _exit(91);
    const std::string err = (Dir / "stderr.txt").string();
    if (!freopen(err.c_str(), "w", stderr)) _exit(92);
    execl(runner.c_str(), runner.c_str(), "--compile-only", path.c_str(), static_cast<char *>(nullptr));
    _exit(93);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(ReadFile(Dir / "stderr.txt"), IOError(path) + "\n");
}

}  // namespace
}  // namespace robust
