// The window as it opens: size, caption, commands, menus, tool bar, editor and list.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>

#include "ConsoleWindow.h"
#include "WindowFixture.h"

namespace {

QStringList Texts(const QList<QAction *> &actions) {
  QStringList texts;
  for (QAction *action : actions) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return texts;
}

}  // namespace

TEST_F(WindowTest, OpensWithItsCaptionAndHiddenList) {
  EXPECT_EQ(Window->windowTitle(), "Ulvan - Untitled");
  EXPECT_EQ(Window->objectName(), "frmUVIDEMain");
  EXPECT_EQ(Window->ToolBar1->height(), 30);
  EXPECT_EQ(Window->ErrorListShownHeight(), 0);
  EXPECT_EQ(Window->ErrorListHeight(), 60);
  EXPECT_EQ(Window->Splitter1->handleWidth(), 2);
  EXPECT_EQ(Window->Splitter1->orientation(), Qt::Vertical);
}

// Run twice by CTest: on a screen too small for the page and on one large enough.
TEST_F(WindowTest, OpensLargeEnoughForAPageOfSourceWithinTheScreen) {
  const QSize room = Window->screen()->availableGeometry().size() * 0.8;
  const QFontMetrics metrics(Window->RichEdit1->font());
  const QSize column(metrics.horizontalAdvance(QLatin1Char('0')), metrics.lineSpacing());
  const QSize view = Window->RichEdit1->viewport()->size();
  EXPECT_LE(Window->width(), room.width());
  EXPECT_LE(Window->height(), room.height());
  // Each way the view holds 100 columns and 40 lines, or the window fills the room.
  if (Window->width() < room.width()) {
    EXPECT_GE(view.width(), 100 * column.width());
    EXPECT_LT(view.width(), 102 * column.width());
  }
  if (Window->height() < room.height()) {
    EXPECT_GE(view.height(), 40 * column.height());
    EXPECT_LT(view.height(), 41 * column.height());
  }
}

TEST_F(WindowTest, CommandsHaveTheirCaptionsHintsAndShortcuts) {
  struct TRow {
    QAction *Action;
    const char *Caption, *Tip, *Status, *Shortcut;
    bool Icon = true;
  };
  const TRow rows[] = {
      {Window->FileNew, "&New", "New", "Create a new file", "Ctrl+N"},
      {Window->FileOpen, "&Open", "Open", "Open a file", "Ctrl+O"},
      {Window->FileSave, "&Save", "Save", "Save current file", "Ctrl+S"},
      {Window->FileSaveAs, "Save &As...", "Save As", "Save current file with different name", ""},
      {Window->FileSend, "Sen&d", "Send", "Send current file through electronic mail", ""},
      {Window->FileRun, "&Run", "Run", "Compile and run current program", "F9"},
      {Window->FileStop, "&Stop", "Stop", "Stop the running program", "Ctrl+F2"},
      {Window->FileExit, "E&xit", "Exit", "Exit application", ""},
      {Window->EditCut, "Cu&t", "Cut", "Cuts the selection and puts it on the Clipboard", "Ctrl+X"},
      {Window->EditCopy, "&Copy", "Copy", "Copies the selection and puts it on the Clipboard",
       "Ctrl+C"},
      {Window->EditPaste, "&Paste", "Paste", "Inserts Clipboard contents", "Ctrl+V"},
      {Window->HelpAbout, "&About...", "About",
       "Displays program information, version number, and copyright", ""},
      {Window->EditUndo, "&Undo", "Undo", "Takes back the last change", "Ctrl+Z"},
      {Window->EditRedo, "&Redo", "Redo", "Makes the last change taken back again",
       "Ctrl+Shift+Z"},
      {Window->EditSelectAll, "Select &All", "Select All", "Selects the whole text", "Ctrl+A", false},
      {Window->EditFind, "&Find...", "Find", "Finds a text", "Ctrl+F", false},
      {Window->EditFindNext, "Find &Next", "Find Next", "Finds the next place of the text", "F3",
       false},
      {Window->EditFindPrevious, "Find Pre&vious", "Find Previous",
       "Finds the previous place of the text", "Shift+F3", false},
      {Window->EditReplace, "R&eplace...", "Replace", "Replaces a text by another", "Ctrl+H", false},
      {Window->EditGoToLine, "&Go to Line...", "Go to Line",
       "Moves the caret to a line of the text", "Ctrl+G", false},
      {Window->ViewZoomIn, "Zoom &In", "Zoom In", "Makes the text larger", "Ctrl++", false},
      {Window->ViewZoomOut, "Zoom &Out", "Zoom Out", "Makes the text smaller", "Ctrl+-", false},
      {Window->ViewZoomReset, "&Actual Size", "Actual Size", "Gives the text its usual size",
       "Ctrl+0", false},
      {Window->HelpGuide, "&Language Guide", "Language Guide",
       "Explains the language; F1 on a word shows its entry", "F1", false},
  };
  for (const TRow &row : rows) {
    SCOPED_TRACE(row.Caption);
    EXPECT_EQ(row.Action->text(), row.Caption);
    EXPECT_EQ(row.Action->toolTip(), row.Tip);
    EXPECT_EQ(row.Action->statusTip(), row.Status);
    EXPECT_EQ(row.Action->shortcut().toString(), row.Shortcut);
    EXPECT_EQ(row.Action->icon().isNull(), !row.Icon);
  }
  EXPECT_EQ(Window->EditRedo->shortcuts().value(1).toString(), "Ctrl+Y");
  EXPECT_EQ(Window->ViewZoomIn->shortcuts().value(1).toString(), "Ctrl+=");
  EXPECT_NE(Window->FileStop->icon().pixmap(16).toImage(),
            Window->FileRun->icon().pixmap(16).toImage());
  EXPECT_FALSE(Window->FileStop->isEnabled());  // no program runs
}

TEST_F(WindowTest, MenusAndToolBarHoldTheCommandsInOrder) {
  EXPECT_EQ(Texts(Window->menuBar()->actions()),
            QStringList({"&File", "&Edit", "&View", "&Help"}));
  EXPECT_EQ(Window->FileMenu->menuAction()->statusTip(), "File related commands");
  EXPECT_EQ(Window->EditMenu->menuAction()->statusTip(), "Edit commands");
  EXPECT_EQ(Window->HelpMenu->menuAction()->statusTip(), "Help topics");
  EXPECT_EQ(Texts(Window->FileMenu->actions()),
            QStringList({"&New", "&Open", "&Save", "Save &As...", "-", "&Recent Files",
                         "&Examples", "-", "Sen&d", "-", "&Run", "&Stop", "-", "E&xit"}));
  EXPECT_EQ(Texts(Window->EditMenu->actions()),
            QStringList({"&Undo", "&Redo", "-", "Cu&t", "&Copy", "&Paste", "Select &All", "-",
                         "&Find...", "Find &Next", "Find Pre&vious", "R&eplace...",
                         "&Go to Line..."}));
  EXPECT_EQ(Texts(Window->ViewMenu->actions()),
            QStringList({"Zoom &In", "Zoom &Out", "&Actual Size"}));
  EXPECT_EQ(Texts(Window->HelpMenu->actions()), QStringList({"&Language Guide", "-", "&About..."}));
  EXPECT_EQ(Texts(Window->ToolBar1->actions()),
            QStringList({"&New", "&Open", "&Save", "-", "Sen&d", "-", "Cu&t", "&Copy", "&Paste",
                         "-", "&Undo", "&Redo", "-", "&Run", "&Stop"}));
}

TEST_F(WindowTest, EditorIsAPlainMonospaceTextWithoutWrapWhereTabInsertsATab) {
  QTextEdit *edit = Window->RichEdit1;
  EXPECT_FALSE(edit->acceptRichText());
  EXPECT_EQ(edit->lineWrapMode(), QTextEdit::NoWrap);
  EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_TRUE(QFontInfo(edit->font()).fixedPitch());
  EXPECT_EQ(edit->font().pixelSize(), 13);
  Type("a\tb");
  QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);
  Type("c");
  EXPECT_EQ(Window->EditorText(), "a\tb\nc");
  EXPECT_EQ(QApplication::focusWidget(), edit);
}

// The console window draws a program's columns: its font must be fixed-pitch too.
TEST(ConsoleWindow, TextAreaHasAFixedPitchFont) {
  TConsoleWindow console;
  EXPECT_TRUE(QFontInfo(console.TextArea()->font()).fixedPitch());
  EXPECT_EQ(console.TextArea()->font().pixelSize(), 14);
}

TEST_F(WindowTest, CutAndCopyFollowTheSelectionAndPasteTheClipboard) {
  Type("begin end");
  EXPECT_FALSE(Window->EditCut->isEnabled());
  EXPECT_FALSE(Window->EditCopy->isEnabled());
  QTest::keyClick(Window->RichEdit1, Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_TRUE(Window->EditCut->isEnabled());
  EXPECT_TRUE(Window->EditCopy->isEnabled());
  Window->EditCopy->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "begin end");
  EXPECT_TRUE(Window->EditPaste->isEnabled());
  Window->EditCut->trigger();
  EXPECT_EQ(Window->EditorText(), "");
  EXPECT_FALSE(Window->EditCut->isEnabled());
  Window->EditPaste->trigger();
  Window->EditPaste->trigger();
  EXPECT_EQ(Window->EditorText(), "begin endbegin end");
  QApplication::clipboard()->clear();
  EXPECT_FALSE(Window->EditPaste->isEnabled());
}

TEST_F(WindowTest, RemembersItsGeometryAndListHeightBetweenSessions) {
  Window->setGeometry(QRect(30, 40, 520, 410));
  Window->lstErrors->SetLines({"[Hint] a.pas(1): x"});
  Window->ShowErrorList(true);
  const QList<int> sizes = Window->Splitter1->sizes();
  Window->Splitter1->setSizes({sizes[0] + sizes[1] - 120, 120});
  ASSERT_TRUE(Window->close());
  Recreate({});
  EXPECT_EQ(Window->geometry(), QRect(30, 40, 520, 410));
  EXPECT_EQ(Window->ErrorListShownHeight(), 0);
  EXPECT_EQ(Window->ErrorListHeight(), 120);
}
