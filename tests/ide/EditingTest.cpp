// Typing help and the editor's decorations: indentation, partners, the caret's line and place,
// Go to Line, Undo and Redo, and that no decoration touches the text, its history or colours.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>

#include "CodeEditor.h"
#include "EditorPane.h"
#include "FindBar.h"
#include "LineMarker.h"
#include "QtRichText.h"
#include "WindowFixture.h"

namespace {

void PutCaret(TCodeEditor *edit, int line, int column) {
  QTextCursor caret(edit->document()->findBlockByNumber(line));
  caret.setPosition(caret.position() + column);
  edit->setTextCursor(caret);
}

// The partner highlighting as "line:column+length" texts.
QStringList Partners(TCodeEditor *edit) {
  edit->UpdatePartners();
  QStringList found;
  for (const QTextEdit::ExtraSelection &s : edit->Selections(TSelectionLayer::slPartners))
    found << QStringLiteral("%1:%2+%3")
                 .arg(s.cursor.blockNumber())
                 .arg(s.cursor.selectionStart() - s.cursor.block().position())
                 .arg(s.cursor.selectionEnd() - s.cursor.selectionStart());
  return found;
}

}  // namespace

TEST_F(WindowTest, EnterKeepsTheIndentationAndTabInsertsATab) {
  const struct {
    const char *Before;
    int Column;
    const char *Typed;
    const char *After;
  } cases[] = {
      {"  begin", 7, "\n", "  begin\n  "},
      {"\t  x := 1;", 10, "\ny", "\t  x := 1;\n\t  y"},
      {"    end", 2, "\n", "  \n    end"},  // only the blanks before the caret
      {"x", 1, "\n", "x\n"},
      {"  a", 3, "\t", "  a\t"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Before);
    Window->RichEdit1->setPlainText(c.Before);
    PutCaret(Window->RichEdit1, 0, c.Column);
    for (const QChar ch : QString(c.Typed)) {
      if (ch == '\n') QTest::keyClick(Window->RichEdit1, Qt::Key_Return);
      else if (ch == '\t') QTest::keyClick(Window->RichEdit1, Qt::Key_Tab);
      else QTest::keyClicks(Window->RichEdit1, QString(ch));
    }
    EXPECT_EQ(Window->EditorText(), c.After);
  }
  // The line break and its indentation are one undo step.
  Window->RichEdit1->setPlainText("  a");
  PutCaret(Window->RichEdit1, 0, 3);
  QTest::keyClick(Window->RichEdit1, Qt::Key_Return);
  Window->EditUndo->trigger();
  EXPECT_EQ(Window->EditorText(), "  a");
  // A read-only text takes no line break either.
  Window->RichEdit1->setReadOnly(true);
  QTest::keyClick(Window->RichEdit1, Qt::Key_Return);
  EXPECT_EQ(Window->EditorText(), "  a");
}

TEST_F(WindowTest, PartnerOfABracketOrBeginEndIsHighlighted) {
  Window->RichEdit1->setPlainText("begin\n  { end ( }\n  a := (b[1]);\n  repeat until x\nend.");
  const struct {
    int Line, Column;
    QStringList Expected;
  } cases[] = {
      {0, 0, {"0:0+5", "4:0+3"}},
      {4, 2, {"4:0+3", "0:0+5"}},
      {2, 8, {"2:7+1", "2:12+1"}},
      {2, 9, {"2:9+1", "2:11+1"}},
      {3, 3, {"3:2+6", "3:9+5"}},
      {1, 5, {}},  // inside the comment
      {2, 2, {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Line * 100 + c.Column);
    PutCaret(Window->RichEdit1, c.Line, c.Column);
    EXPECT_EQ(Partners(Window->RichEdit1), c.Expected);
  }
}

TEST_F(WindowTest, CaretLineIsHighlightedAndItsPlaceShown) {
  Window->RichEdit1->setPlainText("first\n\tsecond line");
  Window->RichEdit1->moveCursor(QTextCursor::End);
  EXPECT_EQ(Window->CaretPosition->text(), "Line 2, Col 13");
  PutCaret(Window->RichEdit1, 0, 2);
  EXPECT_EQ(Window->CaretPosition->text(), "Line 1, Col 3");
  const auto &current = Window->RichEdit1->Selections(TSelectionLayer::slCurrentLine);
  ASSERT_EQ(current.size(), 1);
  EXPECT_EQ(current[0].cursor.blockNumber(), 0);
  EXPECT_EQ(current[0].format.background().color(), TCodeEditor::CurrentLineColour());
  EXPECT_FALSE(current[0].format.hasProperty(QTextFormat::ForegroundBrush));
  // A marked line shows its mark instead.
  Window->Marker()->ShowLine(1, TLineMarkKind::lmDiagnostic);
  EXPECT_TRUE(Window->RichEdit1->Selections(TSelectionLayer::slCurrentLine).isEmpty());
}

TEST_F(WindowTest, GoToLineClampsToTheTextAndCancelDoesNothing) {
  QString text;
  for (int i = 1; i <= 100; ++i) text += QStringLiteral("line %1\n").arg(i);
  Window->RichEdit1->setPlainText(text.chopped(1));
  PutCaret(Window->RichEdit1, 4, 3);
  const struct {
    std::deque<int> Answer;
    int Line;
  } cases[] = {{{50}, 49}, {{0}, 0}, {{-7}, 0}, {{1000}, 99}, {{}, 99}};
  for (const auto &c : cases) {
    Dialogs->LineNumbers = c.Answer;
    Window->EditGoToLine->trigger();
    EXPECT_EQ(Window->RichEdit1->textCursor().blockNumber(), c.Line);
    EXPECT_EQ(Window->RichEdit1->textCursor().positionInBlock(), 0);
  }
  EXPECT_EQ(CallsOf("GoToLine").front().Text, "5/100");
  // Towards the middle of the view.
  Dialogs->LineNumbers = {50};
  Window->EditGoToLine->trigger();
  const int height = Window->RichEdit1->viewport()->height();
  EXPECT_GT(Window->RichEdit1->cursorRect().top(), height / 4);
  EXPECT_LT(Window->RichEdit1->cursorRect().bottom(), height * 3 / 4);
}

TEST_F(WindowTest, UndoAndRedoFollowTheDocument) {
  EXPECT_FALSE(Window->EditUndo->isEnabled());
  EXPECT_FALSE(Window->EditRedo->isEnabled());
  Type("ab");
  EXPECT_TRUE(Window->EditUndo->isEnabled());
  Window->EditUndo->trigger();
  EXPECT_EQ(Window->EditorText(), "");
  EXPECT_FALSE(Window->EditUndo->isEnabled());
  EXPECT_TRUE(Window->EditRedo->isEnabled());
  Window->EditRedo->trigger();
  EXPECT_EQ(Window->EditorText(), "ab");
  WriteBytes(Path("a.pas"), "x");
  Window->LoadFile(Path("a.pas"));
  EXPECT_FALSE(Window->EditUndo->isEnabled());
  EXPECT_FALSE(Window->EditRedo->isEnabled());
}

TEST_F(WindowTest, DecorationsStayOutOfTheTextItsHistoryAndItsColours) {
  const QString source = "begin\n  { note }\n  x := (1);\nend.";
  WriteBytes(Path("d.pas"), source.toUtf8());
  Window->LoadFile(Path("d.pas"));
  QTextDocument *doc = Window->RichEdit1->document();
  auto colours = [&] {
    std::vector<std::vector<TQtRichText::TCharAttr>> all;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
      all.push_back(TQtRichText::DisplayedLine(b));
    return all;
  };
  const auto before = colours();
  // Every decoration at once: caret line, partners, find matches, a marked line, gutter
  // marks and zoom.
  PutCaret(Window->RichEdit1, 2, 8);
  Window->RichEdit1->UpdatePartners();
  Window->EditFind->trigger();
  Window->EditorPane->FindBar()->FindField->setText("x");
  Window->Marker()->ShowLine(3, TLineMarkKind::lmRunError);
  Window->RichEdit1->SetLineMark(1, TGutterMark::gmBreakpoint);
  Window->ViewZoomIn->trigger();
  QApplication::processEvents();
  EXPECT_GE(Window->RichEdit1->extraSelections().size(), 4);
  EXPECT_FALSE(Window->Modified());
  EXPECT_FALSE(doc->isUndoAvailable());
  EXPECT_EQ(Window->EditorText(), source);
  EXPECT_EQ(colours(), before);
  // The characters themselves carry no format of their own.
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it)
      EXPECT_FALSE(it.fragment().charFormat().hasProperty(QTextFormat::BackgroundBrush));
  Window->FileSaveExecute();
  EXPECT_EQ(ReadBytes(Path("d.pas")), source.toUtf8());
}
