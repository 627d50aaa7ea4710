// The statement table over every conformance program: each instruction after the first
// statement lies in a statement that began on or before the line the instruction was emitted
// on, and each routine is one the source declares, its code inside the program.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "UVParser.h"

namespace {

std::string UpperSource(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

TEST(StatementTable, CoversTheCodeOfEveryConformanceProgram) {
  const std::filesystem::path dir =
      std::filesystem::path(ULVAN_SOURCE_DIR) / "tests" / "conformance";
  int checked = 0;
  for (const auto &entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".pas") continue;
    SCOPED_TRACE(entry.path().filename().string());
    TUVParser parser;
    if (!parser.Compile(entry.path().string())) continue;
    const IProgram &program = *parser.GetProgram();
    const TStatementTable &table = program.Statements();
    const auto &statements = table.Statements();
    ASSERT_FALSE(statements.empty());
    EXPECT_TRUE(std::is_sorted(statements.begin(), statements.end(),
                               [](const auto &a, const auto &b) { return a.First < b.First; }));
    TInstruction instr;
    for (std::int32_t i = statements.front().First; i < program.GetCount(); ++i) {
      program.GetInstruction(i, instr);
      const std::int32_t line = table.LineAt(i);
      EXPECT_GE(line, 1) << "instruction " << i;
      EXPECT_LE(line, instr.Line) << "instruction " << i;
    }
    const TRoutineEntry *main = table.RoutineAt(0);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->End, program.GetCount());
    EXPECT_EQ(main->Name, program.GetProgramName().empty() ? entry.path().stem().string()
                                                           : program.GetProgramName());
    const std::string source = UpperSource(entry.path());
    for (const TRoutineEntry &routine : table.Routines()) {
      if (&routine == main) continue;
      EXPECT_GE(routine.First, 0);
      EXPECT_LE(routine.End, program.GetCount());
      EXPECT_LT(routine.First, routine.End);
      std::string name = routine.Name;
      std::transform(name.begin(), name.end(), name.begin(),
                     [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
      EXPECT_NE(source.find(" " + name), std::string::npos) << routine.Name;
    }
    ++checked;
  }
  EXPECT_GT(checked, 50);
}

}  // namespace
