#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <random>
#include <string>
#include <vector>

#include "QtRichText.h"

namespace {

QString TenLines() {
  return QStringLiteral(
      "program Demo;\nvar i: Integer;\nbegin\n  i := 1;\n  if i > 0 then\n    i := i + 1;\n\n"
      "  WriteLn('x');\n  i := 2\nend.");
}

class QtHighlight : public ::testing::Test {
 protected:
  QtHighlight() {
    TQtRichText::ConfigureEditor(&Edit);
    Edit.resize(600, 400);
    Edit.show();
  }

  // The window's FormCreate and LoadFile.
  void Load(const QString &text) {
    Rich.InitHighlighter();
    Edit.setPlainText(text);
    Rich.RecolorAll();
    Edit.moveCursor(QTextCursor::Start);
    Edit.document()->setModified(false);
  }

  void PutCaret(int line, int col) {
    QTextCursor c(Edit.document()->findBlockByNumber(line));
    c.setPosition(c.position() + col);
    Edit.setTextCursor(c);
  }
  void Select(int line1, int col1, int line2, int col2) {
    QTextCursor c(Edit.document());
    c.setPosition(Edit.document()->findBlockByNumber(line1).position() + col1);
    c.setPosition(Edit.document()->findBlockByNumber(line2).position() + col2, QTextCursor::KeepAnchor);
    Edit.setTextCursor(c);
  }
  void TypeAt(int line, int col, const char *keys) {
    PutCaret(line, col);
    QTest::keyClicks(&Edit, QString::fromLatin1(keys));
  }

  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (QTextBlock b = Edit.document()->begin(); b.isValid(); b = b.next())
      lines.push_back(b.text().toStdString());
    return lines;
  }

  // Every line displayed as a colouring from scratch colours it.
  void ExpectLikeFromScratch(const std::string &what) {
    const auto lines = Lines();
    const auto classes = ClassifyLines(lines);
    int i = 0;
    for (QTextBlock b = Edit.document()->begin(); b.isValid(); b = b.next(), ++i) {
      const auto shown = TQtRichText::DisplayedLine(b);
      ASSERT_EQ(shown.size(), classes[std::size_t(i)].size()) << what << ": line " << i + 1;
      for (std::size_t c = 0; c < shown.size(); ++c) {
        const THighlightStyle &want = DefaultHighlightStyles[classes[std::size_t(i)][c]];
        ASSERT_TRUE(shown[c].Style == want.Style && shown[c].Color == want.Color)
            << what << ": line " << i + 1 << " column " << c + 1 << " of \"" << lines[std::size_t(i)] << '"';
      }
    }
    EXPECT_EQ(Rich.Highlighter().CommentFlags().size(), lines.size()) << what;
  }

  bool LineIsComment(int line) {
    for (const auto &a : TQtRichText::DisplayedLine(Edit.document()->findBlockByNumber(line)))
      if (a.Style != fsItalic || a.Color != RGB(0, 128, 0)) return false;
    return true;
  }

  QTextEdit Edit;
  TQtRichText Rich{&Edit};
};

TEST_F(QtHighlight, LoadedTextIsColouredAndUnmodified) {
  QSignalSpy changed(&Edit, &QTextEdit::textChanged);
  Load(TenLines() + "\n{ open\n\nstill } x := 'a' + #65 + 1.5e3; b := TRUE");
  ExpectLikeFromScratch("load");
  EXPECT_TRUE(LineIsComment(11));
  EXPECT_EQ(changed.count(), 1);  // the setPlainText, not the colouring
  EXPECT_FALSE(Edit.document()->isModified());
  EXPECT_FALSE(Edit.document()->isUndoAvailable());
  EXPECT_EQ(Edit.toPlainText(), TenLines() + "\n{ open\n\nstill } x := 'a' + #65 + 1.5e3; b := TRUE");
  EXPECT_EQ(Edit.textCursor().position(), 0);
}

TEST_F(QtHighlight, ColouringIsNeitherUndoableNorAModification) {
  Load(TenLines());
  QSignalSpy changed(&Edit, &QTextEdit::textChanged);
  QSignalSpy modified(Edit.document(), &QTextDocument::modificationChanged);
  Rich.RecolorAll();
  Rich.Highlighter().RecolorLines(2, 4);
  EXPECT_EQ(changed.count(), 0);
  EXPECT_EQ(modified.count(), 0);
  EXPECT_FALSE(Edit.document()->isUndoAvailable());

  TypeAt(2, 0, "{");
  EXPECT_EQ(Edit.document()->availableUndoSteps(), 1);
  EXPECT_TRUE(Edit.document()->isModified());
  Edit.undo();
  EXPECT_FALSE(Edit.document()->isModified());
  EXPECT_FALSE(Edit.document()->isUndoAvailable());
  EXPECT_EQ(Edit.toPlainText(), TenLines());
  ExpectLikeFromScratch("undone");
}

TEST_F(QtHighlight, TypingABraceRecoloursTheRestAndItsMatchRestoresIt) {
  Load(TenLines());
  TypeAt(2, 0, "{");
  for (int l = 2; l < 10; ++l) EXPECT_TRUE(LineIsComment(l)) << l + 1;
  EXPECT_FALSE(LineIsComment(1));
  ExpectLikeFromScratch("{");
  TypeAt(4, 0, "}");
  EXPECT_TRUE(LineIsComment(3));
  EXPECT_FALSE(LineIsComment(5));
  EXPECT_FALSE(LineIsComment(9));
  ExpectLikeFromScratch("}");
  Edit.undo();
  EXPECT_TRUE(LineIsComment(9));
  ExpectLikeFromScratch("undo }");
  Edit.redo();
  EXPECT_FALSE(LineIsComment(9));
  ExpectLikeFromScratch("redo }");
}

TEST_F(QtHighlight, EmptyLineInsideACommentAndALineBreakInIt) {
  Load(QStringLiteral("begin\n{ one two\n\n}\nend."));
  EXPECT_TRUE(LineIsComment(2));
  EXPECT_TRUE(LineIsComment(3));
  PutCaret(1, 5);
  QTest::keyClick(&Edit, Qt::Key_Return);
  EXPECT_EQ(Lines()[2], " two");
  EXPECT_TRUE(LineIsComment(1));
  EXPECT_TRUE(LineIsComment(2));
  EXPECT_FALSE(LineIsComment(5));
  ExpectLikeFromScratch("split");
}

TEST_F(QtHighlight, DeletingTheBlockWithTheBraceAndUndoingIt) {
  Load(TenLines());
  TypeAt(3, 2, "{");
  EXPECT_TRUE(LineIsComment(9));
  Select(2, 0, 5, 0);
  QTest::keyClick(&Edit, Qt::Key_Delete);
  EXPECT_EQ(Edit.document()->blockCount(), 7);
  EXPECT_FALSE(LineIsComment(6));
  ExpectLikeFromScratch("deleted");
  Edit.undo();
  EXPECT_TRUE(LineIsComment(9));
  ExpectLikeFromScratch("undone");
  Edit.redo();
  ExpectLikeFromScratch("redone");
}

TEST_F(QtHighlight, PasteOfManyLines) {
  Load(TenLines());
  QApplication::clipboard()->setText(QStringLiteral("x := 1;\n{ pasted\nstill\n} y := 'a\n"));
  Select(1, 4, 3, 2);
  Edit.paste();
  EXPECT_TRUE(Edit.toPlainText().contains(QStringLiteral("{ pasted")));
  ExpectLikeFromScratch("paste");
  Edit.undo();
  EXPECT_EQ(Edit.toPlainText(), TenLines());
  ExpectLikeFromScratch("paste undone");
}

TEST_F(QtHighlight, NewAndReloadStartOver) {
  Load(QStringLiteral("{ open\nand\nmore"));
  Edit.clear();  // New
  EXPECT_EQ(Rich.Highlighter().CommentFlags(), std::vector<bool>{false});
  QTest::keyClicks(&Edit, QStringLiteral("begin"));
  ExpectLikeFromScratch("typed after New");
  Edit.setPlainText(QStringLiteral("a\n{\nb"));
  Rich.RecolorAll();
  EXPECT_TRUE(LineIsComment(2));
  ExpectLikeFromScratch("reloaded");
}

TEST_F(QtHighlight, CaretRestoredAndSelectionCollapsed) {
  Load(TenLines());
  Select(2, 1, 3, 4);
  const int start = Edit.textCursor().selectionStart();
  Rich.RecolorAll();
  EXPECT_EQ(Edit.textCursor().position(), start);
  EXPECT_FALSE(Edit.textCursor().hasSelection());
  EXPECT_TRUE(Rich.Enabled());
  EXPECT_TRUE(Rich.ChangeHandlerAttached());
  // Typing keeps the caret after the typed character.
  TypeAt(8, 2, "abc");
  EXPECT_EQ(Edit.textCursor().position(), Edit.document()->findBlockByNumber(8).position() + 5);
}

TEST_F(QtHighlight, TypingKeepsOnlyTheTypedLineRecoloured) {
  Load(TenLines());
  const long before = Rich.Highlighter().LinesColored();
  TypeAt(8, 2, "x");
  EXPECT_EQ(Rich.Highlighter().LinesColored() - before, 1);
  ExpectLikeFromScratch("typed");
}

// Counts the pixels of line `line` on screen whose colour is near the given one.
int PixelsNear(QTextEdit &edit, int line, QColor want) {
  const QImage image = edit.viewport()->grab().toImage();
  QTextCursor c(edit.document()->findBlockByNumber(line));
  const QRect r = edit.cursorRect(c);
  int n = 0;
  for (int y = std::max(r.top(), 0); y <= std::min(r.bottom(), image.height() - 1); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (std::abs(p.red() - want.red()) < 40 && std::abs(p.green() - want.green()) < 40 &&
          std::abs(p.blue() - want.blue()) < 40)
        ++n;
    }
  return n;
}

TEST_F(QtHighlight, ColoursReachTheScreen) {
  Load(QStringLiteral("begin\nbegin end"));
  EXPECT_GT(PixelsNear(Edit, 1, QColor(0, 0, 128)), 0);
  EXPECT_EQ(PixelsNear(Edit, 1, QColor(0, 128, 0)), 0);
  TypeAt(0, 0, "{");
  EXPECT_GT(PixelsNear(Edit, 1, QColor(0, 128, 0)), 0);
  EXPECT_EQ(PixelsNear(Edit, 1, QColor(0, 0, 128)), 0);
}

TEST_F(QtHighlight, RandomEditsUndoAndRedoMatchAFullColouring) {
  Load(TenLines());
  std::mt19937 rng(11);
  const char *pieces[] = {"{", "}", "\n", "'", "x", " ", "begin", "12", "\n{\n", "}\n", "#9"};
  for (int step = 0; step < 300; ++step) {
    const unsigned what = rng() % 10;
    if (what == 0) {
      Edit.undo();
    } else if (what == 1) {
      Edit.redo();
    } else {
      const int size = Edit.document()->characterCount() - 1;
      const int a = int(rng() % unsigned(size + 1));
      QTextCursor c(Edit.document());
      c.setPosition(a);
      if (what < 4) c.setPosition(std::min(size, a + int(rng() % 8)), QTextCursor::KeepAnchor);
      c.insertText(QString::fromLatin1(what == 3 ? "" : pieces[rng() % std::size(pieces)]));
    }
    ExpectLikeFromScratch("step " + std::to_string(step));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(Edit.document()->blockCount(), 15);
}

}  // namespace
