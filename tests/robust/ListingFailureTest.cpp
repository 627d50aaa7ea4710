// A listing that cannot be written: the error with its message, the program not run, the
// source untouched. (Root ignores permissions, so the failures come from the file system's
// shape and from a full device.)
#include "Errors.h"
#include "RobustHelper.h"

namespace robust {
namespace {

const char Source[] = "PROGRAM p;\nBEGIN WriteLn('ran') END.\n";

struct TListingCase {
  const char *Name;
  const char *Path;  // where the listing goes
  const char *Message;
};

class ListingFailure : public ScratchTest, public ::testing::WithParamInterface<TListingCase> {};

TEST_P(ListingFailure, RaisesTheInputOutputError) {
  const TCompiled c = Compile("p.pas", Source);
  ASSERT_TRUE(c.Ok);
  try {
    c.Program->WriteListing(GetParam().Path);
    FAIL() << "the listing was written";
  } catch (const EInOutError &e) {
    EXPECT_STREQ(e.what(), GetParam().Message);
  }
}

const TListingCase ListingCases[] = {
    {"FolderMissing", "/nonexistent-ulvan-folder/p.uvc", "File not found"},
    {"FolderIsARegularFile", "/etc/hostname/p.uvc", "Invalid filename"},
    {"DeviceFull", "/dev/full", "Disk full"},
};

INSTANTIATE_TEST_SUITE_P(Robust, ListingFailure, ::testing::ValuesIn(ListingCases),
                         [](const auto &info) { return std::string(info.param.Name); });

// ulvan-run with a listing that cannot be written: the message, exit status 2, no run, and the
// source as it was.
TEST_F(ScratchTest, UlvanRunWithAFullDisk) {
  const fs::path src = Write("p.pas", Source);
  fs::create_symlink("/dev/full", Dir / "p.uvc");
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 2);
  EXPECT_EQ(run.Err, "Disk full.\n");
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(ReadFile(src), Source);
}

TEST_F(ScratchTest, UlvanRunWithAFolderInTheListingsPlace) {
  const fs::path src = Write("p.pas", Source);
  fs::create_directory(Dir / "p.uvc");
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 2);
  EXPECT_EQ(run.Err, "File access denied.\n");
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(ReadFile(src), Source);
}

// The listing's name can be the source's own: the source stays, nothing runs.
TEST_F(ScratchTest, UlvanRunNeverWritesTheListingOverTheSource) {
  const fs::path src = Write("keep.uvc", Source);
  TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 2);
  EXPECT_EQ(run.Err, "File access denied.\n");
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(ReadFile(src), Source);
  const fs::path linked = Write("p.pas", Source);
  fs::create_symlink(linked, Dir / "p.uvc");
  run = Run(Quoted(linked));
  EXPECT_EQ(run.Status, 2);
  EXPECT_EQ(run.Err, "File access denied.\n");
  EXPECT_EQ(ReadFile(linked), Source);
}

// A failed compile whose listing cannot be written either stays a failed compile (status 1).
TEST_F(ScratchTest, UlvanRunWithACompileErrorAndAFullDisk) {
  const fs::path src = Write("p.pas", "BEGIN x END.");
  fs::create_symlink("/dev/full", Dir / "p.uvc");
  const TRun run = Run(Quoted(src));
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err, "[Error] p.pas(1): Undeclared identifier: 'x'\nDisk full.\n");
  EXPECT_EQ(ReadFile(src), "BEGIN x END.");
}

}  // namespace
}  // namespace robust
