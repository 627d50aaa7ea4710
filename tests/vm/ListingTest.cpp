// The listing file, byte for byte, and its failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Errors.h"
#include "VmTestUtil.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("ulvan-listing-" + std::to_string(getpid()));
    fs::create_directories(Dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(Dir, fs::perms::owner_all, ec);
    fs::remove_all(Dir, ec);
  }
  fs::path Dir;
};

// The message of the EInOutError that writing fileName raises, or "" without one.
std::string ListingError(const IProgram &prog, const std::string &fileName) {
  try {
    prog.WriteListing(fileName);
  } catch (const EInOutError &e) {
    return e.what();
  }
  return "";
}

TEST_F(ListingTest, EveryOperandFormByteForByte) {
  vmtest::TAsm a;
  a.Prog->SetProgramName("demo");
  a.Prog->SetSourceFileName("demo.pas");
  a.Op(ocInit).Op(ocIncSP, -8).Op(ocPushInt, -5).Real(0.1).Real(1e20).Bool(true).Bool(false);
  a.Str("It's").Str("").Op(ocEQBool).Op(ocEQ, 256).Op(ocJump, 40).Op(ocRandom).Op(ocOdd);
  a.Op(ocIllegal).Op(ocReadLnReal).Str("tab\there").Op(ocRet);
  // Operand bytes of operand-less instructions are not printed.
  TInstruction ret;
  a.Prog->GetInstruction(a.Count() - 1, ret);
  ret.IntValue = 99;
  a.Prog->SetInstruction(a.Count() - 1, ret);
  const fs::path file = Dir / "demo.uvc";
  a.Prog->WriteListing(file.string());
  EXPECT_EQ(ReadFile(file), ReadFile(fs::path(ULVAN_TEST_DATA) / "demo.uvc"));
}

TEST_F(ListingTest, EmptyProgramAndWideIndexes) {
  TUVCProgram p;
  const fs::path file = Dir / "empty.uvc";
  p.WriteListing(file.string());
  EXPECT_EQ(ReadFile(file), "Program name: \r\nSource file: \r\n\r\n");

  vmtest::TAsm a;
  for (int i = 0; i < 1001; ++i) a.Op(ocHalt);
  a.Prog->WriteListing(file.string());  // replaces the old content
  const std::string text = ReadFile(file);
  EXPECT_NE(text.find("\r\n 99\tHalt\r\n100\tHalt\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 11), "1000\tHalt\r\n");
}

TEST_F(ListingTest, FailuresRaiseInOutErrors) {
  vmtest::TAsm a;
  a.Op(ocInit).Op(ocRet);
  EXPECT_EQ(ListingError(*a.Prog, "/dev/full"), "Disk full");
  EXPECT_EQ(ListingError(*a.Prog, (Dir / "missing" / "x.uvc").string()), "File not found");
  EXPECT_EQ(ListingError(*a.Prog, Dir.string()), "File access denied");
  EXPECT_EQ(EInOutError(4).what(), std::string("Too many open files"));
  EXPECT_EQ(EInOutError(3).what(), std::string("Invalid filename"));
  EXPECT_EQ(EInOutError(17).what(), std::string("I/O error 17"));
}

TEST_F(ListingTest, ReadOnlyFolderIsAccessDenied) {
  vmtest::TAsm a;
  a.Op(ocInit).Op(ocRet);
  const fs::path locked = Dir / "locked";
  fs::create_directory(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  const std::string file = (locked / "x.uvc").string();
  if (geteuid() != 0) {
    EXPECT_EQ(ListingError(*a.Prog, file), "File access denied");
    return;
  }
  // Root writes anywhere: try as an ordinary user in a child process.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    _exit(ListingError(*a.Prog, file) == "File access denied" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot drop root rights here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(fs::exists(file));
}

}  // namespace
