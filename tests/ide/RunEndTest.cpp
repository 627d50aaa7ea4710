// The end of a run as the user meets it: the console that stays, Stop, closing during a run,
// and what the status bar says.
#include <QAction>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include "CodeEditor.h"
#include "ConsoleWindow.h"
#include "LineMarker.h"
#include "RunOutcome.h"
#include "WindowFixture.h"

namespace {

QFont::Weight FirstWeight(const QTextBlock &block) {
  return static_cast<QFont::Weight>(block.begin().fragment().charFormat().fontWeight());
}

}  // namespace

TEST(RunOutcome, TextsOfTheEnds) {
  struct TCase {
    TRunOutcome Outcome;
    const char *Status, *EndLine, *Box;
  };
  const TCase cases[] = {
      {{TRunEnd::reFinished, 0.4249, {}, 0, {}}, "Finished in 0.42 s", "Finished in 0.42 s.", ""},
      {{TRunEnd::reFinished, 61, {}, 0, {}}, "Finished in 61.00 s", "Finished in 61.00 s.", ""},
      {{TRunEnd::reStopped, 3, {}, 0, {}}, "Stopped", "Stopped.", ""},
      {{TRunEnd::reRunError, 1, "Division by zero.", 12, "Average"}, "Run-time error in line 12",
       "Run-time error in line 12: Division by zero.", "Division by zero.\nLine 12, in Average"},
      {{TRunEnd::reRunError, 1, "Store overflow.", 0, {}}, "Run-time error",
       "Run-time error: Store overflow.", "Store overflow."},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.EndLine);
    EXPECT_EQ(RunStatusText(c.Outcome), c.Status);
    EXPECT_EQ(RunEndLine(c.Outcome), c.EndLine);
    if (c.Outcome.End == TRunEnd::reRunError) {
      EXPECT_EQ(RunErrorBoxText(c.Outcome), c.Box);
    }
  }
  EXPECT_EQ(RunEndTitle("Demo", TRunEnd::reRunError), "Demo - run-time error");
  EXPECT_EQ(RunEndTitle("", TRunEnd::reStopped), "stopped");
}

TEST(RunOutcome, DiagnosticCountsBySeverity) {
  const std::pair<std::vector<std::string>, const char *> cases[] = {
      {{"[Error] a.pas(1): ; missing"}, "1 error"},
      {{"[Error] a(1): x", "[Fatal Error] a(2): y", "[Warning] a(3): z", "[Hint] a(4): h",
        "[Hint] a(5): [Error] inside"},
       "2 errors, 1 warning, 2 hints"},
      {{"[Warning] a(1): x", "[Warning] a(2): y"}, "2 warnings"},
      {{}, ""},
  };
  for (const auto &[lines, counts] : cases) EXPECT_EQ(DiagnosticCounts(lines), counts);
}

TEST(ConsolePlacement, BesideTheOwnerOrCoveringTheLeastOfIt) {
  const QRect screen(0, 0, 1920, 1080);
  const QSize console(700, 500);
  struct TCase {
    const char *Name;
    QRect Owner, Screen;
    QSize Console;
    std::optional<QPoint> At;
  };
  const TCase cases[] = {
      {"right", {100, 100, 600, 450}, screen, console, QPoint(700, 100)},
      {"below", {1200, 100, 600, 450}, screen, console, QPoint(1200, 550)},
      {"left, moved up into the screen", {1250, 600, 600, 450}, screen, console, QPoint(550, 580)},
      {"above", {100, 550, 1500, 500}, screen, console, QPoint(100, 50)},
      // no room beside it: the corner that covers the least of it
      {"no room", {100, 100, 1500, 900}, screen, console, QPoint(1220, 0)},
      {"no room, small screen", {0, 0, 825, 697}, {0, 0, 1280, 1024}, {706, 436},
       QPoint(574, 588)},
      {"larger than the screen", {0, 0, 100, 100}, screen, {2000, 500}, std::nullopt},
      {"second screen", {1950, 50, 400, 300}, {1920, 0, 1280, 1024}, console, QPoint(2350, 50)},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TConsoleWindow::PlaceBeside(c.Owner, c.Console, c.Screen), c.At);
  }
}

TEST_F(WindowTest, ConsoleShowsEightyColumnsAndTwentyFiveLines) {
  TConsoleWindow *console = Window->Console();
  console->Open("Size");
  for (int i = 0; i < 25; ++i) console->Write((i > 0 ? "\r\n" : "") + std::string(80, 'M'));
  QApplication::processEvents();
  QPlainTextEdit *screen = console->TextArea();
  EXPECT_EQ(screen->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(screen->verticalScrollBar()->maximum(), 0);
  console->Write("\r\n");
  QApplication::processEvents();
  EXPECT_EQ(screen->verticalScrollBar()->maximum(), 1);
  console->Release();
}

TEST_F(WindowTest, ConsoleOpensBesideTheEditorWindow) {
  const QRect screen = Window->screen()->availableGeometry();
  Window->setGeometry(screen.left(), screen.top(), 200, 100);  // leaves room below only
  WriteBytes(Path("demo.pas"), "x");
  Window->LoadFile(Path("demo.pas"));
  Parser->Program = HelloProgram("Hi");
  Window->FileRun->trigger();
  const QRect console = Window->Console()->frameGeometry();
  EXPECT_FALSE(console.intersects(Window->frameGeometry()));
}

TEST_F(WindowTest, EveryEndOfARunLeavesItsOutputInTheConsole) {
  WriteBytes(Path("demo.pas"), "x");
  Window->LoadFile(Path("demo.pas"));
  enum class TStopBy { sbNone, sbStopCommand, sbShortcutInConsole, sbStopWhileComputing };
  struct TCase {
    const char *Name;
    IProgramRef Program;
    TStopBy StopBy;
    const char *Output, *Title, *EndLine, *Status;  // EndLine, Status: patterns
    std::size_t ErrorBoxes;
  };
  const char *finished = R"(Finished in \d+\.\d\d s)";
  const TCase cases[] = {
      {"normal end", HelloProgram("Hi"), TStopBy::sbNone, "Hi\n", "Hello - finished",
       R"(Finished in \d+\.\d\d s\.)", finished, 0},
      {"halt", HaltProgram(), TStopBy::sbNone, "Halted\n", "Halting - finished",
       R"(Finished in \d+\.\d\d s\.)", finished, 0},
      {"run-time error", DivideByZeroProgram(), TStopBy::sbNone, "", "run-time error",
       R"(Run-time error in line 1: Division by zero\.)", "Run-time error in line 1", 1},
      {"stopped in a line read", EchoLineProgram(), TStopBy::sbStopCommand, "", "Echo - stopped",
       R"(Stopped\.)", "Stopped", 0},
      {"stopped in a number read", ReadNumberProgram(), TStopBy::sbShortcutInConsole, "",
       "Number - stopped", R"(Stopped\.)", "Stopped", 0},
      {"stopped while computing", EndlessLoopProgram(), TStopBy::sbStopWhileComputing, "",
       "stopped", R"(Stopped\.)", "Stopped", 0},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Name);
    Dialogs->Calls.clear();
    Parser->Program = c.Program;
    bool stopEnabled = false;
    QString whileCompiling, whileRunning;
    Parser->WhileCompiling = [&] { whileCompiling = Window->statusBar()->currentMessage(); };
    auto stop = [&] {
      stopEnabled = Window->FileStop->isEnabled();
      whileRunning = Window->statusBar()->currentMessage();
      if (c.StopBy == TStopBy::sbShortcutInConsole)
        QTest::keyClick(Window->Console()->TextArea(), Qt::Key_F2, Qt::ControlModifier);
      else
        Window->FileStop->trigger();
    };
    if (c.StopBy == TStopBy::sbStopWhileComputing) QTimer::singleShot(100, Window.get(), stop);
    else if (c.StopBy != TStopBy::sbNone) WhenConsoleWaits(stop);
    Window->FileRun->trigger();

    TConsoleWindow *console = Window->Console();
    EXPECT_EQ(whileCompiling, "Compiling...");
    EXPECT_EQ(stopEnabled, c.StopBy != TStopBy::sbNone);
    if (c.StopBy != TStopBy::sbNone) {
      EXPECT_EQ(whileRunning, "Running...");
    }
    EXPECT_FALSE(Window->FileStop->isEnabled());
    EXPECT_TRUE(console->isVisible());
    EXPECT_FALSE(console->IsOpen());
    EXPECT_EQ(console->windowTitle(), c.Title);
    EXPECT_EQ(console->ScreenText(), c.Output);
    const QTextBlock last = console->TextArea()->document()->lastBlock();
    EXPECT_TRUE(QRegularExpression(QRegularExpression::anchoredPattern(c.EndLine))
                    .match(last.text()).hasMatch()) << last.text().toStdString();
    EXPECT_EQ(FirstWeight(last), QFont::Bold);
    const QString status = Window->statusBar()->currentMessage();
    EXPECT_TRUE(QRegularExpression(QRegularExpression::anchoredPattern(c.Status))
                    .match(status).hasMatch()) << status.toStdString();
    EXPECT_EQ(CallsOf("Error").size(), c.ErrorBoxes);
  }
}

TEST_F(WindowTest, RunErrorLineStaysMarkedUntilTheNextRun) {
  WriteBytes(Path("demo.pas"), "a\nb\n");
  Window->LoadFile(Path("demo.pas"));
  Parser->Program = DivideByZeroProgram();
  Window->FileRun->trigger();
  EXPECT_EQ(Window->Marker()->MarkedLine(), 0);
  EXPECT_EQ(Window->Marker()->MarkedKind(), TLineMarkKind::lmRunError);
  EXPECT_EQ(Window->RichEdit1->LinesWithMark(TGutterMark::gmRunError), QList<int>{0});
  Parser->Success = false;
  Parser->Errors = {"[Error] demo.pas(2): ; missing", "[Warning] demo.pas(3): w",
                    "[Error] demo.pas(4): x"};
  Window->FileRun->trigger();
  // The first error's mark took the place of the run-time error's.
  EXPECT_EQ(Window->Marker()->MarkedLine(), 1);
  EXPECT_EQ(Window->Marker()->MarkedKind(), TLineMarkKind::lmDiagnostic);
  EXPECT_TRUE(Window->RichEdit1->LinesWithMark(TGutterMark::gmRunError).isEmpty());
  EXPECT_TRUE(Window->statusBar()->currentMessage().startsWith("2 errors, 1 warning - "));
}

TEST_F(WindowTest, TheEndedConsoleTakesNoKeysClosesWithEscapeAndIsReusedCleared) {
  WriteBytes(Path("demo.pas"), "x");
  Window->LoadFile(Path("demo.pas"));
  Parser->Program = HelloProgram("One");
  Window->FileRun->trigger();
  TConsoleWindow *console = Window->Console();
  QPlainTextEdit *screen = console->TextArea();
  const QString shown = screen->toPlainText();
  QTest::keyClicks(screen, "abc");
  QTest::keyClick(screen, Qt::Key_Return);
  EXPECT_EQ(screen->toPlainText(), shown);
  EXPECT_TRUE(console->isVisible());
  QTest::keyClick(screen, Qt::Key_Escape);
  EXPECT_FALSE(console->isVisible());

  Parser->Program = EchoLineProgram();
  WhenConsoleWaits([&] {
    QTest::keyClicks(screen, "x");
    QTest::keyClick(screen, Qt::Key_Escape);  // during the run a key like any other
    QTest::keyClick(screen, Qt::Key_Return);
  });
  Window->FileRun->trigger();
  EXPECT_TRUE(console->isVisible());
  EXPECT_EQ(console->OpenCount(), 2);
  EXPECT_EQ(console->ScreenText(), "x\x1b\nYou typed: x\x1b\n");
  EXPECT_NE(FirstWeight(screen->document()->firstBlock()), QFont::Bold);
}

TEST_F(WindowTest, ClosingDuringARunAsksAboutChangesFirst) {
  struct TCase {
    const char *Name;
    TAnswer Answer;
    bool Closes;
    const char *Saved;
  };
  const TCase cases[] = {
      {"cancel: the run goes on", TAnswer::anCancel, false, "x"},
      {"no: stopped and closed", TAnswer::anNo, true, "x"},
      {"yes: saved, stopped and closed", TAnswer::anYes, true, "!x"},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Name);
    WriteBytes(Path("echo.pas"), "x");
    Recreate({});
    Window->LoadFile(Path("echo.pas"));
    Parser->Program = EchoLineProgram();
    Dialogs->Answers = {c.Answer};
    bool inputOpenAfterTheAnswer = false;
    WhenConsoleWaits([&] {
      Type("!");
      Window->close();
      inputOpenAfterTheAnswer = Window->Console()->IsOpen();
      if (!c.Closes) Window->Console()->TypeKey("\r");
    });
    Window->FileRun->trigger();
    EXPECT_EQ(CallsOf("YesNoCancel").size(), 1u);
    EXPECT_EQ(inputOpenAfterTheAnswer, !c.Closes);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Window->isVisible() != c.Closes; }, 2000));
    EXPECT_EQ(ReadBytes(Path("echo.pas")), c.Saved);
    EXPECT_TRUE(CallsOf("Error").empty());
    EXPECT_EQ(Window->Console()->isVisible(), !c.Closes);
  }
}

TEST_F(WindowTest, ConsoleTakesANonAsciiKeyAsOneCharacter) {
  WriteBytes(Path("echo.pas"), "x");
  Window->LoadFile(Path("echo.pas"));
  Parser->Program = EchoLineProgram();
  QString shownAfterTyping;
  int caretAfterTyping = -1;
  WhenConsoleWaits([&] {
    QPlainTextEdit *screen = Window->Console()->TextArea();
    QTest::sendKeyEvent(QTest::Click, screen, Qt::Key_Eacute, QStringLiteral("\u00e9"), {});
    WhenConsoleWaits([&, screen] {
      shownAfterTyping = screen->document()->firstBlock().text();
      caretAfterTyping = screen->textCursor().positionInBlock();
      QTest::keyClick(screen, Qt::Key_Backspace);
      QTest::keyClicks(screen, "x");
      QTest::keyClick(screen, Qt::Key_Return);
    });
  });
  Window->FileRun->trigger();
  EXPECT_EQ(shownAfterTyping, QStringLiteral("\u00e9"));
  EXPECT_EQ(caretAfterTyping, 1);
  EXPECT_EQ(Window->Console()->ScreenText(), "x\nYou typed: x\n");
}
