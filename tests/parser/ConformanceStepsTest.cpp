// Every conformance program (tests/conformance/*.pas, fed its .in file) compiled and run twice:
// with Run (decoded code and superinstructions) and instruction by instruction with Step. Both
// must print the same and end in the same error, registers and store, all 64001 bytes.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../vm/VmTestUtil.h"
#include "UVParser.h"

namespace {

std::string ReadAll(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ConformanceSteps, RunAgreesWithStepOnEveryProgram) {
  const std::filesystem::path dir = std::filesystem::path(ULVAN_SOURCE_DIR) / "tests" / "conformance";
  std::vector<std::filesystem::path> sources;
  for (const auto &entry : std::filesystem::directory_iterator(dir))
    if (entry.path().extension() == ".pas") sources.push_back(entry.path());
  std::sort(sources.begin(), sources.end());
  ASSERT_GT(sources.size(), 50u);

  int compared = 0;
  for (const auto &source : sources) {
    SCOPED_TRACE(source.filename().string());
    TUVParser parser;
    if (!parser.Compile(source.string())) continue;  // a program that shows a compile error
    std::filesystem::path inPath = source;
    inPath.replace_extension(".in");
    const std::string input = std::filesystem::exists(inPath) ? ReadAll(inPath) : std::string();
    const vmtest::TOutcome fast = vmtest::RunFast(parser.GetProgram(), input, false);
    const vmtest::TOutcome slow = vmtest::RunSteps(parser.GetProgram(), input, false);
    EXPECT_EQ(fast.Error, slow.Error);
    EXPECT_EQ(fast.Output, slow.Output);
    EXPECT_EQ(fast.PC, slow.PC);
    EXPECT_EQ(fast.SP, slow.SP);
    EXPECT_EQ(fast.MP, slow.MP);
    ASSERT_EQ(fast.Store.size(), static_cast<std::size_t>(TUVCInterpreter::StoreSize));
    if (fast.Store != slow.Store) {
      const auto diff = std::mismatch(fast.Store.begin(), fast.Store.end(), slow.Store.begin());
      ADD_FAILURE() << "stores differ first at address " << (diff.first - fast.Store.begin());
    }
    ++compared;
  }
  EXPECT_GT(compared, 50);
}

}  // namespace
