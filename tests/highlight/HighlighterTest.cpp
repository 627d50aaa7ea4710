#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "MemoryRichText.h"
#include "UWRichEdit.h"

namespace {

// How the control tells the highlighter about an edit: before it (the protect-change
// notification) or only after it (a document's change signal).
enum class TTracking { BeforeEdit, AfterEdit };

class Highlighter : public ::testing::TestWithParam<TTracking> {
 protected:
  TMemoryRichText Edit;
  TUWHighlighter H{Edit};

  void Start(const std::string &text) {
    Edit.SetText(text);
    if (GetParam() == TTracking::BeforeEdit) {
      Edit.OnProtectChange = [this](int s, int e, bool &allow) { H.NoteChangeRange(s, e, allow); };
    } else {
      Edit.OnContentsChange = [this](int p, int r, int a, int before) {
        if (Edit.ChangeHandlerAttached()) H.NoteChangeDone(p, r, a, before);
      };
    }
    Edit.OnChange = [this] { H.HighlightAfterChange(); };
    H.InitHighlighter();
  }

  void Type(int line, int col, const std::string &text) {
    const int p = Edit.Pos(line, col);
    Edit.Replace(p, p, text);
  }
  void Delete(int line1, int col1, int line2, int col2) {
    Edit.Replace(Edit.Pos(line1, col1), Edit.Pos(line2, col2), "");
  }

  // Every character coloured as a colouring from scratch colours it, and the flags agree.
  void ExpectLikeFromScratch(const std::string &what) {
    const std::vector<std::string> lines = Edit.Lines();
    const auto classes = ClassifyLines(lines);
    ASSERT_EQ(H.CommentFlags().size(), lines.size()) << what;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      for (std::size_t c = 0; c < lines[i].size(); ++c) {
        const auto &want = DefaultHighlightStyles[classes[i][c]];
        const auto got = Edit.Attr(Edit.Pos(int(i), int(c)));
        ASSERT_TRUE(got.Style == want.Style && got.Color == want.Color)
            << what << ": line " << i + 1 << " column " << c + 1 << " of \"" << lines[i] << '"';
      }
      const bool startsInComment = i > 0 && !classes[i - 1].empty()
                                       ? classes[i - 1].back() == hcOpenComment
                                       : i > 0 && H.CommentFlags()[i - 1] && lines[i - 1].empty();
      EXPECT_EQ(H.CommentFlags()[i], startsInComment) << what << ": flag of line " << i + 1;
    }
  }

  bool LineIsComment(int line) {
    const std::string text = Edit.LineText(line);
    for (int c = 0; c < int(text.size()); ++c) {
      const auto a = Edit.Attr(Edit.Pos(line, c));
      if (a.Style != fsItalic || a.Color != RGB(0, 128, 0)) return false;
    }
    return true;
  }
};

std::string TenLines() {
  std::string s;
  const char *lines[] = {"program Demo;",  "var i: Integer;", "begin",      "  i := 1;",
                         "  if i > 0 then", "    i := i + 1;", "",           "  WriteLn('x');",
                         "  i := 2",        "end."};
  for (const char *l : lines) s += std::string(l) + "\n";
  s.pop_back();
  return s;
}

TEST_P(Highlighter, InitColoursEveryLine) {
  Start("program P;\n{ a\n\nb }\nbegin WriteLn('hi', 12.5e3, True) end.");
  ExpectLikeFromScratch("init");
  EXPECT_EQ(H.CommentFlags(), (std::vector<bool>{false, false, true, true, false}));
  EXPECT_EQ(Edit.Attr(0).Style, fsBold);
  EXPECT_EQ(Edit.Attr(0).Color, RGB(0, 0, 128));
}

TEST_P(Highlighter, OpeningAndClosingACommentRecoloursTheFollowingLines) {
  Start(TenLines());
  const long before = H.LinesColored();
  Type(2, 0, "{");
  EXPECT_EQ(H.LinesColored() - before, 8);  // lines 3 to 10
  for (int l = 2; l < 10; ++l) EXPECT_TRUE(LineIsComment(l)) << l + 1;
  EXPECT_FALSE(LineIsComment(1));
  ExpectLikeFromScratch("after {");

  Type(4, 0, "}");
  for (int l = 2; l < 4; ++l) EXPECT_TRUE(LineIsComment(l)) << l + 1;
  EXPECT_FALSE(LineIsComment(5));
  EXPECT_FALSE(LineIsComment(9));
  ExpectLikeFromScratch("after }");
  // Line 7 is empty inside the comment: removing the } lets the comment run through it.
  Delete(4, 0, 4, 1);
  EXPECT_TRUE(H.CommentFlags()[7]);
  EXPECT_TRUE(LineIsComment(7));
  ExpectLikeFromScratch("} removed");
}

TEST_P(Highlighter, EmptyLineInsideACommentKeepsItGoing) {
  Start("a\n{ x\n\n\ny }\nbegin");
  EXPECT_EQ(H.CommentFlags(), (std::vector<bool>{false, false, true, true, true, false}));
  EXPECT_TRUE(LineIsComment(4));
  ExpectLikeFromScratch("empty lines");
}

TEST_P(Highlighter, LineBreakInsideACommentKeepsBothHalvesGreen) {
  Start("begin\n{ one two }\nend.");
  Type(1, 5, "\n");
  EXPECT_EQ(Edit.LineText(1), "{ one");
  EXPECT_TRUE(LineIsComment(1));
  EXPECT_TRUE(LineIsComment(2));
  EXPECT_FALSE(LineIsComment(3));
  ExpectLikeFromScratch("split");
  Delete(1, 5, 2, 0);  // join them again
  EXPECT_TRUE(LineIsComment(1));
  ExpectLikeFromScratch("joined");
}

TEST_P(Highlighter, DeletingTheBlockWithTheOpeningBraceRestoresTheLinesAfterIt) {
  Start(TenLines());
  Type(3, 0, "{");
  EXPECT_TRUE(LineIsComment(9));
  Delete(2, 0, 5, 0);  // lines 3 to 5, the { among them
  EXPECT_EQ(Edit.LineCount(), 7);
  for (int l = 0; l < 7; ++l) EXPECT_FALSE(LineIsComment(l) && !Edit.LineText(l).empty()) << l + 1;
  ExpectLikeFromScratch("block deleted");
}

TEST_P(Highlighter, PastingAndReplacingManyLines) {
  Start(TenLines());
  Type(4, 2, "x := 1;\n{ pasted\nstill\n} y := 'a");
  ExpectLikeFromScratch("paste");
  // A selection over three lines replaced by two lines, by one line, and by four lines.
  Edit.Replace(Edit.Pos(1, 3), Edit.Pos(3, 2), "{\n}");
  ExpectLikeFromScratch("3 lines by 2");
  Edit.Replace(Edit.Pos(2, 0), Edit.Pos(4, 1), "{ x");
  ExpectLikeFromScratch("3 lines by 1");
  Edit.Replace(Edit.Pos(0, 2), Edit.Pos(2, 1), "a\nb\n{\nc");
  ExpectLikeFromScratch("3 lines by 4");
  Edit.Replace(0, int(Edit.Text().size()), "");
  EXPECT_EQ(H.CommentFlags(), std::vector<bool>{false});
}

TEST_P(Highlighter, TypingInsideALineRecoloursOnlyThatLine) {
  Start(TenLines());
  const long lines = H.LinesColored();
  Type(8, 2, "x");  // "  xi := 2"
  EXPECT_EQ(H.LinesColored() - lines, 1);
  ExpectLikeFromScratch("typed");
  // Colouring an already coloured text changes nothing.
  const long writes = Edit.AttributeWrites();
  H.RecolorLines(0, Edit.LineCount() - 1);
  EXPECT_EQ(Edit.AttributeWrites(), writes);
}

TEST_P(Highlighter, KeywordLosesItsColourWhenItStopsBeingOne) {
  Start("begin end");
  Type(0, 5, "x");  // "beginx": the new character took the keyword's attributes
  EXPECT_EQ(Edit.Attr(0).Style, 0);
  EXPECT_EQ(Edit.Attr(5).Color, RGB(0, 0, 0));
  Delete(0, 5, 0, 6);
  EXPECT_EQ(Edit.Attr(4).Style, fsBold);
  ExpectLikeFromScratch("keyword");
}

TEST_P(Highlighter, MixedAttributesInARunAreAllReset) {
  Start("abc := 1");
  // The first character is already right; the others are not.
  Edit.SetSelStart(1);
  Edit.SetSelLength(2);
  Edit.SetSelStyle(fsBold | fsUnderline);
  Edit.SetSelColor(RGB(1, 2, 3));
  H.RecolorLines(0, 0);
  ExpectLikeFromScratch("mixed");
}

TEST_P(Highlighter, RandomEditsMatchAFullColouring) {
  Start("program P;\nbegin\n  x := 'a';\n  { c }\nend.");
  std::mt19937 rng(7);
  const std::string pieces[] = {"{", "}", "\n", "'", "x", " ", "begin", "12", "\n{\n", "}\n", "#9"};
  for (int step = 0; step < 600; ++step) {
    const int size = int(Edit.Text().size());
    const int a = int(rng() % unsigned(size + 1));
    if (rng() % 4 == 0 && size > 0) {
      const int b = std::min(size, a + int(rng() % 8));
      Edit.Replace(a, b, rng() % 2 ? "" : pieces[rng() % std::size(pieces)]);
    } else {
      Edit.Replace(a, a, pieces[rng() % std::size(pieces)]);
    }
    ExpectLikeFromScratch("step " + std::to_string(step));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(Edit.LineCount(), 20);
}

INSTANTIATE_TEST_SUITE_P(Tracking, Highlighter,
                         ::testing::Values(TTracking::BeforeEdit, TTracking::AfterEdit),
                         [](const auto &info) {
                           return info.param == TTracking::BeforeEdit ? "BeforeEdit" : "AfterEdit";
                         });

class Recolor : public ::testing::Test {
 protected:
  TMemoryRichText Edit{"begin\n  x := 1\nend."};
  TUWHighlighter H{Edit};
};

TEST_F(Recolor, RestoresCaretEnablingHandlerAndFocus) {
  H.InitHighlighter();
  Edit.SetSelStart(8);
  Edit.SetSelLength(5);
  Edit.KillFocus();
  H.RecolorLines(0, 2);
  EXPECT_EQ(Edit.SelStart(), 8);
  EXPECT_EQ(Edit.SelLength(), 0);
  EXPECT_TRUE(Edit.Enabled());
  EXPECT_TRUE(Edit.ChangeHandlerAttached());
  EXPECT_TRUE(Edit.Focused());
}

TEST_F(Recolor, LastLineBeforeFirstIsAnAssertion) {
  H.InitHighlighter();
  Edit.SetSelStart(3);
  try {
    H.RecolorLines(2, 1);
    FAIL() << "no assertion";
  } catch (const EHighlightAssertion &e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Assertion failure (UWRichEdit, line ")) << e.what();
    EXPECT_EQ(std::string(e.what()).back(), ')');
  }
  EXPECT_TRUE(Edit.Enabled());
  EXPECT_TRUE(Edit.ChangeHandlerAttached());
  EXPECT_EQ(Edit.SelStart(), 3);
  EXPECT_THROW(H.RecolorLines(-5, -1), EHighlightAssertion);
  H.RecolorLines(-5, 0);  // a first line below 0 counts as 0
}

TEST_F(Recolor, DisablesAndDetachesWhileColouring) {
  struct TSpy : TMemoryRichText {
    using TMemoryRichText::TMemoryRichText;
    mutable bool SawLive = false;
    void SetSelStyle(TFontStyles s) override {
      SawLive |= Enabled() || ChangeHandlerAttached();
      TMemoryRichText::SetSelStyle(s);
    }
  } spy("begin end");
  TUWHighlighter h(spy);
  h.InitHighlighter();
  EXPECT_FALSE(spy.SawLive);
  EXPECT_EQ(spy.Attr(0).Style, fsBold);
}

TEST_F(Recolor, NoteChangeRangeRecordsLinesAndAllows) {
  H.InitHighlighter();
  bool allow = false;
  H.NoteChangeRange(Edit.Pos(1, 3), Edit.Pos(2, 1), allow);
  EXPECT_TRUE(allow);
  EXPECT_EQ(H.FirstChangedLine(), 1);
  EXPECT_EQ(H.LastChangedLine(), 2);
  EXPECT_EQ(H.LineCountBefore(), 3);
  H.DoneHighlighter();
  EXPECT_TRUE(H.CommentFlags().empty());
}

}  // namespace
