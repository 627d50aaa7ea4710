// The gutter: its marks stay with their lines through edits, clicks in the marker column, and
// its width follows the line count.
#include <QTest>
#include <QTextBlock>

#include "CodeEditor.h"
#include "Gutter.h"
#include "WindowFixture.h"

namespace {

void PutCaret(TCodeEditor *edit, int line, bool atEnd) {
  QTextCursor caret(edit->document()->findBlockByNumber(line));
  if (atEnd) caret.movePosition(QTextCursor::EndOfBlock);
  edit->setTextCursor(caret);
}

}  // namespace

TEST_F(WindowTest, GutterMarksStayWithTheirLinesThroughEdits) {
  TCodeEditor *edit = Window->RichEdit1;
  auto key = [edit](int line, bool atEnd, Qt::Key k) {
    return [=] {
      PutCaret(edit, line, atEnd);
      QTest::keyClick(edit, k);
    };
  };
  auto removeLines = [edit](int first, int count) {
    return [=] {
      QTextCursor c(edit->document()->findBlockByNumber(first));
      c.setPosition(edit->document()->findBlockByNumber(first + count).position(),
                    QTextCursor::KeepAnchor);
      c.removeSelectedText();
    };
  };
  const struct {
    const char *What;
    const char *Text;
    int Line;  // the marked line
    std::function<void()> Edit;
    QList<int> Marked;  // where the mark is afterwards
  } cases[] = {
      {"Enter at the start", "aa\nbb\ncc", 1, key(1, false, Qt::Key_Return), {2}},
      {"Enter at the end", "aa\nbb\ncc", 1, key(1, true, Qt::Key_Return), {1}},
      {"Enter at the start, undone",
       "aa\nbb\ncc", 1, [&] { key(1, false, Qt::Key_Return)(); edit->undo(); }, {1}},
      {"Enter at the start, undone, redone",
       "aa\nbb\ncc", 1, [&] { key(1, false, Qt::Key_Return)(); edit->undo(); edit->redo(); }, {2}},
      {"lines pasted above", "aa\nbb\ncc", 1,
       [&] { PutCaret(edit, 0, false); edit->textCursor().insertText("x\ny\n"); }, {3}},
      {"typing at the start", "aa\nbb\ncc", 1, key(1, false, Qt::Key_X), {1}},
      {"joined to the line above", "aa\nbb\ncc", 1, key(1, false, Qt::Key_Backspace), {0}},
      {"line above joined by Delete", "aa\nbb\ncc", 1, key(0, true, Qt::Key_Delete), {0}},
      {"line below joined to it", "aa\nbb\ncc", 1, key(2, false, Qt::Key_Backspace), {1}},
      {"empty line above removed", "aa\n\nbb", 2, key(2, false, Qt::Key_Backspace), {1}},
      {"its line removed", "aa\nbb\ncc", 1, removeLines(1, 1), {}},
      {"a line above removed", "aa\nbb\ncc", 1, removeLines(0, 1), {0}},
      {"the text replaced", "aa\nbb\ncc", 1, [&] { edit->setPlainText("aa\nbb\ncc"); }, {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    edit->setPlainText(c.Text);
    edit->SetLineMark(c.Line, TGutterMark::gmBreakpoint);
    edit->SetLineMark(0, TGutterMark::gmCurrentStatement);
    edit->SetLineMark(0, TGutterMark::gmCurrentStatement, false);
    c.Edit();
    EXPECT_EQ(edit->LinesWithMark(TGutterMark::gmBreakpoint), c.Marked);
    EXPECT_TRUE(edit->LinesWithMark(TGutterMark::gmCurrentStatement).isEmpty());
  }
}

TEST_F(WindowTest, GutterKindsAreIndependentAndClickedLinesReported) {
  TCodeEditor *edit = Window->RichEdit1;
  edit->setPlainText("a\nb\nc\nd");
  edit->SetLineMark(1, TGutterMark::gmBreakpoint);
  edit->SetLineMark(3, TGutterMark::gmHollowBreakpoint);
  edit->SetLineMark(1, TGutterMark::gmCurrentStatement);
  edit->SetLineMark(9, TGutterMark::gmRunError);  // outside the text: nothing
  EXPECT_EQ(edit->LineMarks(1), TLineMarks::Bit(TGutterMark::gmBreakpoint) |
                                    TLineMarks::Bit(TGutterMark::gmCurrentStatement));
  EXPECT_TRUE(edit->LinesWithMark(TGutterMark::gmRunError).isEmpty());
  edit->ClearLineMarks(TGutterMark::gmBreakpoint);
  EXPECT_TRUE(edit->LinesWithMark(TGutterMark::gmBreakpoint).isEmpty());
  EXPECT_EQ(edit->LinesWithMark(TGutterMark::gmCurrentStatement), QList<int>{1});
  EXPECT_EQ(edit->LinesWithMark(TGutterMark::gmHollowBreakpoint), QList<int>{3});

  QList<int> clicked;
  QObject::connect(edit, &TCodeEditor::GutterClicked, [&](int line) { clicked << line; });
  const int y = edit->BlockRect(edit->document()->findBlockByNumber(2)).center().y();
  QTest::mouseClick(edit->Gutter(), Qt::LeftButton, {}, QPoint(2, y));
  // Clicks on the numbers are not the marker column's.
  QTest::mouseClick(edit->Gutter(), Qt::LeftButton, {}, QPoint(edit->Gutter()->width() - 2, y));
  EXPECT_EQ(clicked, QList<int>{2});
}

TEST_F(WindowTest, GutterGrowsWithTheLineCountAndTheFont) {
  TCodeEditor *edit = Window->RichEdit1;
  edit->setPlainText(QString("x\n").repeated(98));
  const int two = edit->Gutter()->width();
  EXPECT_EQ(edit->GutterWidth(), two);
  edit->setPlainText(QString("x\n").repeated(99));
  const int three = edit->Gutter()->width();
  EXPECT_GT(three, two);
  edit->ZoomBy(5);
  EXPECT_GT(edit->Gutter()->width(), three);
  EXPECT_EQ(edit->GutterWidth(), edit->Gutter()->width());
}
