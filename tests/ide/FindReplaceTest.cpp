// Find and replace through the window's commands and the find bar.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "CodeEditor.h"
#include "EditorPane.h"
#include "FindBar.h"
#include "WindowFixture.h"

namespace {

const char *const Text = "Begin\n  x := beginner;\n  BEGIN y end\nbegin";

}  // namespace

TEST_F(WindowTest, FindMatchesCaseAndWholeWordsAndGoesRoundTheEnd) {
  const struct {
    const char *What;
    TFindOptions Options;
    std::vector<std::pair<QAction *, std::pair<int, const char *>>> Steps;
  } cases[] = {
      {"any case, any part",
       {false, false},
       {{Window->EditFindNext, {0, ""}}, {Window->EditFindNext, {13, ""}},
        {Window->EditFindNext, {25, ""}}, {Window->EditFindNext, {37, ""}},
        {Window->EditFindNext, {0, "Search wrapped"}},
        {Window->EditFindPrevious, {37, "Search wrapped"}}, {Window->EditFindPrevious, {25, ""}}}},
      {"match case", {true, false},
       {{Window->EditFindNext, {13, ""}}, {Window->EditFindNext, {37, ""}},
        {Window->EditFindNext, {13, "Search wrapped"}}}},
      {"whole words", {false, true},
       {{Window->EditFindNext, {0, ""}}, {Window->EditFindNext, {25, ""}},
        {Window->EditFindNext, {37, ""}}}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    Window->RichEdit1->setPlainText(Text);
    Window->EditFind->trigger();
    TFindBar *bar = Window->EditorPane->FindBar();
    bar->SetOptions(c.Options);
    bar->FindField->setText("begin");
    Window->RichEdit1->moveCursor(QTextCursor::Start);
    for (const auto &[action, expected] : c.Steps) {
      action->trigger();
      const QTextCursor caret = Window->RichEdit1->textCursor();
      EXPECT_EQ(caret.selectionStart(), expected.first);
      EXPECT_EQ(caret.selectedText().size(), 5);
      EXPECT_EQ(Window->statusBar()->currentMessage(), expected.second);
    }
  }
  Window->EditorPane->FindBar()->FindField->setText("nowhere");
  Window->EditFindNext->trigger();
  EXPECT_EQ(Window->statusBar()->currentMessage(), "Not found");
}

TEST_F(WindowTest, FindBarHighlightsEveryMatchAndEscapeReturnsToTheText) {
  Window->RichEdit1->setPlainText(Text);
  // A selection within one line becomes the text to find.
  QTextCursor word(Window->RichEdit1->document());
  word.setPosition(6);
  word.setPosition(8, QTextCursor::KeepAnchor);
  Window->RichEdit1->setTextCursor(word);
  Window->EditFind->trigger();
  TFindBar *bar = Window->EditorPane->FindBar();
  ASSERT_TRUE(bar->isVisible());
  EXPECT_FALSE(bar->ReplaceShown());
  EXPECT_EQ(bar->FindField->text(), "  ");
  bar->FindField->setText("BEGIN");
  EXPECT_EQ(Window->RichEdit1->Selections(TSelectionLayer::slFindMatches).size(), 4);
  bar->MatchCase->setChecked(true);
  EXPECT_EQ(Window->RichEdit1->Selections(TSelectionLayer::slFindMatches).size(), 1);
  // The matches follow the text once typing pauses.
  Window->RichEdit1->moveCursor(QTextCursor::End);
  QTest::keyClicks(Window->RichEdit1, " BEGIN");
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return Window->RichEdit1->Selections(TSelectionLayer::slFindMatches).size() == 2;
  }));
  bar->FindField->setFocus();
  QTest::keyClick(bar->FindField, Qt::Key_Escape);
  EXPECT_FALSE(bar->isVisible());
  EXPECT_TRUE(Window->RichEdit1->Selections(TSelectionLayer::slFindMatches).isEmpty());
  EXPECT_TRUE(Window->RichEdit1->hasFocus());
  // The options are remembered.
  Recreate({});
  EXPECT_TRUE(Window->EditorPane->FindBar()->MatchCase->isChecked());
}

TEST_F(WindowTest, ReplaceOneAtATimeAndAllInOneUndoStep) {
  Window->RichEdit1->setPlainText("a cat, a Cat, a category");
  Window->EditReplace->trigger();
  TFindBar *bar = Window->EditorPane->FindBar();
  EXPECT_TRUE(bar->ReplaceShown());
  bar->FindField->setText("cat");
  bar->ReplaceField->setText("dog");
  bar->WholeWord->setChecked(true);
  Window->RichEdit1->moveCursor(QTextCursor::Start);
  // The first Replace finds, the next replaces what it found and finds on.
  bar->ReplaceButton->click();
  EXPECT_EQ(Window->EditorText(), "a cat, a Cat, a category");
  bar->ReplaceButton->click();
  EXPECT_EQ(Window->EditorText(), "a dog, a Cat, a category");
  EXPECT_EQ(Window->RichEdit1->textCursor().selectedText(), "Cat");

  bar->WholeWord->setChecked(false);
  bar->ReplaceField->setText("cow");
  bar->ReplaceAllButton->click();
  EXPECT_EQ(Window->EditorText(), "a dog, a cow, a cowegory");
  EXPECT_EQ(Window->statusBar()->currentMessage(), "Replaced 2 occurrences");
  Window->EditUndo->trigger();
  EXPECT_EQ(Window->EditorText(), "a dog, a Cat, a category");
  bar->FindField->setText("zebra");
  bar->ReplaceAllButton->click();
  EXPECT_EQ(Window->statusBar()->currentMessage(), "Not found");
  // A read-only text is only searched.
  Window->RichEdit1->setReadOnly(true);
  bar->FindField->setText("dog");
  bar->ReplaceAllButton->click();
  bar->ReplaceButton->click();
  bar->ReplaceButton->click();
  EXPECT_EQ(Window->EditorText(), "a dog, a Cat, a category");
}
