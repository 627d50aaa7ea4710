// Sources of several megabytes compile and run; the time each takes is printed and recorded
// (ctest --output-on-failure or the test's XML output shows it).
#include <chrono>

#include "Errors.h"
#include "Interpreter.h"
#include "MemoryConsole.h"
#include "RobustHelper.h"

namespace robust {
namespace {

constexpr std::size_t FiveMB = 5 * 1024 * 1024;

class BigSource : public ScratchTest {
 protected:
  // Compiles within `limitSeconds` (a bound against runaway growth, far above the expected
  // time) and reports the time taken.
  TCompiled CompileTimed(const std::string &text, double limitSeconds) {
    const fs::path path = Write("big.pas", text);
    const auto start = std::chrono::steady_clock::now();
    TCompiled c = CompileFile(path);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("compile_seconds", std::to_string(seconds));
    std::printf("compiled %zu bytes into %d instructions in %.2f s\n", text.size(),
                c.Program->GetCount(), seconds);
    EXPECT_LT(seconds, limitSeconds);
    return c;
  }
};

// Five megabytes of statements: about 2.3 million instructions.
TEST_F(BigSource, FiveMegabytesOfStatements) {
  std::string text = "PROGRAM big;\nVAR i: Integer;\nBEGIN\n  i := 0;\n";
  int n = 0;
  while (text.size() < FiveMB) {
    text += "  i := i + " + std::to_string(n % 1000) + ";\n";
    ++n;
  }
  text += "  WriteLn(IntToStr(i))\nEND.\n";
  const TCompiled c = CompileTimed(text, 120);
  ASSERT_TRUE(c.Ok) << ::testing::PrintToString(c.Diagnostics);
  std::int64_t sum = 0;
  for (int k = 0; k < n; ++k) sum += k % 1000;
  TMemoryConsole console;
  auto vm = std::make_unique<TUVCInterpreter>(&console);
  vm->LoadProgram(c.Program);
  vm->Run();
  EXPECT_EQ(console.Output, std::to_string(static_cast<std::int32_t>(sum)) + "\r\n");
}

// Five megabytes of comment around a small program.
TEST_F(BigSource, FiveMegabytesOfComment) {
  std::string text = "PROGRAM big;\n{";
  while (text.size() < FiveMB) text += "a comment line of a source that is mostly comment\r\n";
  text += "}\nBEGIN WriteLn('ok') END.\n";
  const TCompiled c = CompileTimed(text, 20);
  EXPECT_TRUE(c.Ok);
  EXPECT_TRUE(c.Diagnostics.empty());
}

// Five megabytes of one line of tokens the parser skips: one diagnostic for the line.
TEST_F(BigSource, FiveMegabytesOfSkippedTokensOnOneLine) {
  std::string text = "PROGRAM big;\nBEGIN\n";
  while (text.size() < FiveMB) text += "] ] ] ] ] ] ] ] ";
  text += "\nEND.\n";
  const TCompiled c = CompileTimed(text, 20);
  EXPECT_FALSE(c.Ok);
  EXPECT_EQ(c.Diagnostics, std::vector<std::string>{"[Error] big.pas(3): Unexpected ]"});
}

// The listing of a large program is written in full.
TEST_F(BigSource, ListingOfALargeProgram) {
  std::string text = "VAR i: Integer;\nBEGIN\n";
  for (int k = 0; k < 100000; ++k) text += "  i := " + std::to_string(k) + ";\n";
  text += "END.\n";
  const TCompiled c = CompileTimed(text, 20);
  ASSERT_TRUE(c.Ok);
  c.Program->WriteListing((Dir / "big.uvc").string());
  const std::string listing = ReadFile(Dir / "big.uvc");
  std::size_t lines = 0;
  for (char ch : listing) lines += ch == '\n';
  EXPECT_EQ(lines, static_cast<std::size_t>(c.Program->GetCount()) + 3);
}

}  // namespace
}  // namespace robust
