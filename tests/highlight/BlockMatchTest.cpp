// Partners of brackets and BEGIN/RECORD/REPEAT with END/UNTIL, past strings and comments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BlockMatch.h"
#include "UWRichEdit.h"

namespace {

class TLines final : public ISourceLines {
 public:
  explicit TLines(std::vector<std::string> lines) : Lines(std::move(lines)) {
    // A line starts in a comment as the highlighter decides it.
    const auto classes = ClassifyLines(Lines);
    Flags.assign(Lines.size(), false);
    for (std::size_t i = 1; i < Lines.size(); ++i)
      Flags[i] = (!classes[i - 1].empty() && classes[i - 1].back() == hcOpenComment) ||
                 (Lines[i - 1].empty() && Flags[i - 1]);
  }
  int LineCount() const override { return static_cast<int>(Lines.size()); }
  std::string LineText(int line) const override { return Lines[static_cast<std::size_t>(line)]; }
  bool StartsInComment(int line) const override { return Flags[static_cast<std::size_t>(line)]; }

 private:
  std::vector<std::string> Lines;
  std::vector<bool> Flags;
};

}  // namespace

TEST(BlockMatch, FindsThePartnerOfTheTokenAtTheCaret) {
  const std::vector<std::string> program = {
      "type R = record a: Integer end;",
      "begin",
      "  if x then begin y end;",
      "  repeat z until q",
      "end."};
  const std::vector<std::string> comment = {"begin", "{ end", "}", "end"};
  const struct {
    const char *What;
    std::vector<std::string> Lines;
    int Line, Column;
    int AtColumn, PartnerLine, PartnerColumn;  // PartnerLine -1: none
  } cases[] = {
      {"after (", {"x := (a + (b)) * c;"}, 0, 6, 5, 0, 13},
      {"before (", {"x := (a + (b)) * c;"}, 0, 10, 10, 0, 12},
      {"after )", {"x := (a + (b)) * c;"}, 0, 14, 13, 0, 5},
      {"brackets", {"a[i[2]] := 0"}, 0, 2, 1, 0, 6},
      {"string and comment skipped", {"s := '(' + (t { ) } );"}, 0, 12, 11, 0, 20},
      {"BEGIN to END over lines", program, 1, 0, 0, 4, 0},
      {"END back to BEGIN", program, 4, 3, 0, 1, 0},
      {"RECORD to END", program, 0, 12, 9, 0, 27},
      {"inner BEGIN", program, 2, 14, 12, 2, 20},
      {"REPEAT to UNTIL", program, 3, 2, 2, 3, 11},
      {"UNTIL back to REPEAT", program, 3, 16, 11, 3, 2},
      {"END on a line of its own", {"begin a; begin b end; c end"}, 0, 27, 24, 0, 0},
      {"inner END", {"begin a; begin b end; c end"}, 0, 17, 17, 0, 9},
      {"END inside a comment over lines", comment, 0, 0, 0, 3, 0},
      {"partner missing", {"begin x := (1"}, 0, 0, 0, -1, 0},
      {"open bracket without partner", {"begin x := (1"}, 0, 12, 11, -1, 0},
      {"no token at the caret", {"x := 1"}, 0, 2, 0, -1, 0},
      {"a word that only starts like BEGIN", {"beginner end"}, 0, 0, 0, -1, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    const auto found = FindPartner(TLines(c.Lines), c.Line, c.Column);
    if (c.PartnerLine < 0) {
      EXPECT_FALSE(found.has_value());
      continue;
    }
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->At.Line, c.Line);
    EXPECT_EQ(found->At.Column, c.AtColumn);
    EXPECT_EQ(found->Partner.Line, c.PartnerLine);
    EXPECT_EQ(found->Partner.Column, c.PartnerColumn);
    EXPECT_EQ(found->Partner.Family, found->At.Family);
    EXPECT_NE(found->Partner.Opens, found->At.Opens);
  }
}
