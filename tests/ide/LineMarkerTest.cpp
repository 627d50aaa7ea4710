// The marked line: caret, clamping, the colour of each kind, and the mark ending with an edit.
#include <QTest>
#include <QTextEdit>

#include "LineMarker.h"
#include "WindowFixture.h"

TEST_F(WindowTest, LineMarkerPutsTheCaretOnTheClampedLineUntilTheNextEdit) {
  QString text;
  for (int i = 1; i <= 200; ++i) text += QStringLiteral("line %1\n").arg(i);
  Window->RichEdit1->setPlainText(text);
  TLineMarker marker(Window->RichEdit1);
  const struct {
    int Asked, Shown;
  } cases[] = {{120, 120}, {-5, 0}, {999, 200}};
  for (const auto &c : cases) {
    marker.ShowLine(c.Asked, TLineMarkKind::lmRunError);
    EXPECT_EQ(marker.MarkedLine(), c.Shown);
    EXPECT_EQ(Window->RichEdit1->textCursor().blockNumber(), c.Shown);
    EXPECT_FALSE(Window->RichEdit1->textCursor().hasSelection());
    ASSERT_EQ(Window->RichEdit1->extraSelections().size(), 1);
  }
  marker.ShowLine(120, TLineMarkKind::lmDiagnostic);
  EXPECT_EQ(Window->RichEdit1->extraSelections()[0].format.background().color(),
            TLineMarker::MarkColour(TLineMarkKind::lmDiagnostic));
  EXPECT_NE(TLineMarker::MarkColour(TLineMarkKind::lmDiagnostic),
            TLineMarker::MarkColour(TLineMarkKind::lmRunError));
  // The marked line stands well inside the view, not at its edge.
  const QRect caret = Window->RichEdit1->cursorRect();
  const int height = Window->RichEdit1->viewport()->height();
  EXPECT_GT(caret.top(), height / 4);
  EXPECT_LT(caret.bottom(), height * 3 / 4);
  QTest::keyClicks(Window->RichEdit1, "x");
  EXPECT_EQ(marker.MarkedLine(), -1);
  for (const QTextEdit::ExtraSelection &s : Window->RichEdit1->extraSelections())
    EXPECT_NE(s.format.background().color(), TLineMarker::MarkColour(TLineMarkKind::lmDiagnostic));
}
