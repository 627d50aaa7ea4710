// Run: saving first, compiling, the diagnostics list, the listing file and the run itself.
#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QSplitter>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include "ConsoleWindow.h"
#include "WindowFixture.h"

namespace {

const std::string ErrorLine = "[Error] demo.pas(2): ; missing";
const std::string HintLine = "[Hint] demo.pas(4): Text after final END. ignored";

}  // namespace

TEST_F(WindowTest, RunOfAnUntitledTextNeedsASavedFile) {
  Type("begin end.");
  Dialogs->FileNames = {QString()};
  Window->FileRun->trigger();
  ASSERT_EQ(Dialogs->Calls.size(), 2u);
  EXPECT_EQ(Dialogs->Calls[0].Kind, "Save");
  EXPECT_EQ(Dialogs->Calls[1].Kind, "Warning");
  EXPECT_EQ(Dialogs->Calls[1].Caption, "Cannot compile");
  EXPECT_EQ(Dialogs->Calls[1].Text, "You have to save the file at first");
  EXPECT_EQ(ParsersMade, 0);
}

TEST_F(WindowTest, RunSavesBeforeCompiling) {
  const QString demo = Path("demo.pas");
  Type("begin end.");
  Dialogs->FileNames = {demo};
  Parser->Program = HelloProgram("Hi");
  Window->FileRun->trigger();
  EXPECT_EQ(ReadBytes(demo), "begin end.");
  ASSERT_EQ(Parser->CompiledFiles.size(), 1u);
  EXPECT_EQ(Parser->CompiledFiles[0], demo.toStdString());
  EXPECT_EQ(Window->Console()->OpenCount(), 1);
}

TEST_F(WindowTest, ListingNameReplacesTheExtensionOfTheBareName) {
  const std::pair<QString, QString> cases[] = {
      {"/work/demo.pas", "/work/demo.uvc"},
      {"/work/demo", "/work/demo.uvc"},
      {"/work/my.dir/demo", "/work/my.dir/demo.uvc"},
      {"/work/a.b.pas", "/work/a.b.uvc"},
      {"C:\\my.dir\\demo", "C:\\my.dir\\demo.uvc"},
      {"C:demo.pas", "C:demo.uvc"},
  };
  for (const auto &[source, listing] : cases) EXPECT_EQ(TUVIDEMain::ListingName(source), listing);
}

TEST_F(WindowTest, RunWithErrorsListsThemWritesTheListingAndRunsNothing) {
  ASSERT_TRUE(QDir(Dir.path()).mkpath("my.dir"));
  const QString demo = Path("my.dir/demo");
  WriteBytes(demo, "program demo; begin x end.");
  Window->LoadFile(demo);
  Parser->Success = false;
  Parser->Errors = {ErrorLine, HintLine};
  Parser->Program = HelloProgram("never");
  Parser->Program->SetProgramName("demo");
  Window->FileRun->trigger();
  ASSERT_EQ(Window->lstErrors->count(), 2);
  EXPECT_EQ(Window->lstErrors->item(0)->text(), QString::fromStdString(ErrorLine));
  EXPECT_EQ(Window->ErrorListShownHeight(), 60);
  EXPECT_TRUE(ReadBytes(Path("my.dir/demo.uvc")).startsWith("Program name: demo\r\n"));
  EXPECT_EQ(Window->Console()->OpenCount(), 0);
  EXPECT_TRUE(Dialogs->Calls.empty());
}

TEST_F(WindowTest, RunWithHintsOnlyShowsThemAndRuns) {
  WriteBytes(Path("demo.pas"), "program Hello; begin end. x");
  Window->LoadFile(Path("demo.pas"));
  Parser->Errors = {HintLine};
  Parser->Program = HelloProgram("Hello, world!");
  Window->FileRun->trigger();
  EXPECT_EQ(Window->lstErrors->count(), 1);
  EXPECT_EQ(Window->ErrorListShownHeight(), 60);
  TConsoleWindow *console = Window->Console();
  EXPECT_EQ(console->OpenCount(), 1);
  EXPECT_EQ(console->ScreenText(), "Hello, world!\n");
  EXPECT_EQ(console->windowTitle(), "Hello - finished");
  EXPECT_TRUE(console->isVisible());  // the output stays readable
  EXPECT_TRUE(QFile::exists(Path("demo.uvc")));
}

TEST_F(WindowTest, ListKeepsItsDraggedHeightWhileHidden) {
  WriteBytes(Path("demo.pas"), "x");
  Window->LoadFile(Path("demo.pas"));
  Parser->Program = HelloProgram("");
  Parser->Errors = {HintLine};
  Window->FileRun->trigger();
  EXPECT_EQ(Window->ErrorListShownHeight(), 60);
  const QList<int> sizes = Window->Splitter1->sizes();
  Window->Splitter1->setSizes({sizes[0] + sizes[1] - 90, 90});  // the user drags
  Parser->Errors.clear();
  Window->FileRun->trigger();
  EXPECT_EQ(Window->lstErrors->count(), 0);
  EXPECT_EQ(Window->ErrorListShownHeight(), 0);
  EXPECT_EQ(Window->ErrorListHeight(), 90);
  Parser->Errors = {HintLine};
  Window->FileRun->trigger();
  EXPECT_EQ(Window->ErrorListShownHeight(), 90);
}

TEST_F(WindowTest, ErrorsOfListingAndRunReachTheErrorBox) {
  WriteBytes(Path("demo.pas"), "x");
  Window->LoadFile(Path("demo.pas"));
  Parser->Program = DivideByZeroProgram();
  Window->FileRun->trigger();
  ASSERT_EQ(CallsOf("Error").size(), 1u);
  EXPECT_EQ(CallsOf("Error")[0].Caption, "Ulvan");
  EXPECT_EQ(CallsOf("Error")[0].Text, "Division by zero.\nLine 1");
  EXPECT_FALSE(Window->IsRunning());
  EXPECT_TRUE(Window->FileRun->isEnabled());
  // The program stays stopped at the error until Stop (or Continue) ends the run.
  EXPECT_TRUE(Window->DebugState().AtError());
  Window->FileStop->trigger();

  // A listing that cannot be written: the program is not run.
  ASSERT_TRUE(QFile::remove(Path("demo.uvc")));
  ASSERT_TRUE(QDir(Dir.path()).mkpath("demo.uvc"));
  Parser->Program = HelloProgram("never");
  Window->FileRun->trigger();
  ASSERT_EQ(CallsOf("Error").size(), 2u);
  EXPECT_EQ(Window->Console()->OpenCount(), 1);
}

TEST_F(WindowTest, ErrorBoxEndsTheMessageWithAFullStop) {
  const std::pair<QString, QString> cases[] = {
      {"Store overflow", "Store overflow."}, {"", ""},         {"Done.", "Done."},
      {"Really!", "Really!"},              {"(x)", "(x)"},     {"a/b", "a/b."},
      {"line 1", "line 1."},               {"caf\u00e9", "caf\u00e9."},
  };
  for (const auto &[message, shown] : cases) EXPECT_EQ(TUVIDEMain::ErrorBoxText(message), shown);
}

TEST_F(WindowTest, ProgramReadsALineTypedIntoTheConsole) {
  WriteBytes(Path("echo.pas"), "x");
  Window->LoadFile(Path("echo.pas"));
  Parser->Program = EchoLineProgram();
  bool disabledWhileRunning = false;
  WhenConsoleWaits([&] {
    disabledWhileRunning = !Window->FileRun->isEnabled() && !Window->FileNew->isEnabled() &&
                           !Window->FileOpen->isEnabled() && Window->FileSaveAs->isEnabled();
    QWidget *screen = Window->Console()->TextArea();
    QTest::keyClicks(screen, "ab");
    QTest::keyClick(screen, Qt::Key_Left);  // no character: no input
    QTest::keyClick(screen, Qt::Key_Backspace);
    QTest::keyClicks(screen, "c");
    QTest::keyClick(screen, Qt::Key_Return);
  });
  Window->FileRun->trigger();
  EXPECT_TRUE(disabledWhileRunning);
  EXPECT_TRUE(Dialogs->Calls.empty());
  EXPECT_EQ(Window->Console()->ScreenText(), "ac\nYou typed: ac\n");
  EXPECT_TRUE(Window->FileRun->isEnabled());
}

TEST_F(WindowTest, ClosingTheConsoleStopsTheRunOnly) {
  WriteBytes(Path("echo.pas"), "x");
  Window->LoadFile(Path("echo.pas"));
  Parser->Program = EchoLineProgram();
  WhenConsoleWaits([&] { Window->Console()->close(); });
  Window->FileRun->trigger();
  EXPECT_FALSE(Window->IsRunning());
  EXPECT_TRUE(Dialogs->Calls.empty());
  EXPECT_TRUE(Window->isVisible());
  EXPECT_EQ(Window->Console()->ScreenText(), "");
}

TEST_F(WindowTest, ClosingTheConsoleStopsAProgramThatNeverWaits) {
  WriteBytes(Path("loop.pas"), "x");
  Window->LoadFile(Path("loop.pas"));
  Parser->Program = EndlessLoopProgram();
  QTimer::singleShot(200, Window.get(), [&] { Window->Console()->close(); });
  Window->FileRun->trigger();
  EXPECT_FALSE(Window->IsRunning());
  EXPECT_TRUE(Dialogs->Calls.empty());
}

TEST_F(WindowTest, ClosingTheWindowDuringARunStopsItFirst) {
  WriteBytes(Path("echo.pas"), "x");
  Window->LoadFile(Path("echo.pas"));
  Parser->Program = EchoLineProgram();
  bool refusedWhileRunning = false;
  WhenConsoleWaits([&] { refusedWhileRunning = !Window->close(); });
  Window->FileRun->trigger();
  EXPECT_TRUE(refusedWhileRunning);
  EXPECT_FALSE(Window->IsRunning());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Window->isVisible(); }, 10000));
}

TEST_F(WindowTest, DoubleClickMovesTheCaretToTheLine) {
  QString text;
  for (int i = 1; i <= 20; ++i) text += QStringLiteral("line %1\n").arg(i);
  WriteBytes(Path("demo.pas"), text.toUtf8());
  Window->LoadFile(Path("demo.pas"));
  struct TCase {
    const char *Item;
    int Line;  // 1-based; 0: the caret stays
  };
  const TCase cases[] = {
      {"[Error] demo.pas(12): ; missing", 12},
      {"[Error] demo.pas(999): x", 20},
      {"[Error] demo.pas(abc): x", 1},
      {"[Hint] demo.pas(0): x", 1},
      {"[Hint] demo.pas(-5): x", 1},
      {"[Error] demo.pas(): x", 0},
      {"[Error] no line at all", 0},
      {"[Error] de(7).pas(5): x", 7},
      {"[Error] de(mo).pas(5): x", 1},
      {"[Error] de)mo(.pas(5): x", 0},
      {"(3)", 3},
      {"[Error] demo.pas(-2147483648): x", 1},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Item);
    const int start = Window->RichEdit1->document()->findBlockByNumber(4).position() + 2;
    QTextCursor cursor(Window->RichEdit1->document());
    cursor.setPosition(start);
    Window->RichEdit1->setTextCursor(cursor);
    Window->lstErrors->clear();
    Window->lstErrors->addItem(QString::fromLatin1(c.Item));
    Window->lstErrors->setCurrentRow(0);
    Window->lstErrorsDblClick();
    const int expected =
        c.Line == 0 ? start : Window->RichEdit1->document()->findBlockByNumber(c.Line - 1).position();
    EXPECT_EQ(Window->RichEdit1->textCursor().position(), expected);
    EXPECT_FALSE(Window->RichEdit1->textCursor().hasSelection());
  }
  Window->lstErrors->setCurrentRow(-1);
  Window->lstErrorsDblClick();  // nothing selected: nothing happens
}

TEST_F(WindowTest, DoubleClickWithTheMouse) {
  WriteBytes(Path("demo.pas"), "a\nb\nc\n");
  Window->LoadFile(Path("demo.pas"));
  Window->lstErrors->addItem("[Error] demo.pas(3): x");
  Window->ShowErrorList(true);
  QListWidget *list = Window->lstErrors;
  const QPoint at = list->visualItemRect(list->item(0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(Window->RichEdit1->textCursor().blockNumber(), 2);
  EXPECT_TRUE(Window->RichEdit1->hasFocus());
}
