// Debugging in the window with the real compiler, engine and machine: breakpoints, steps, the
// panels, a run-time error kept as a stop, ReadLn while stepping, and Pause.
#ifdef ULVAN_HAVE_PARSER

#include <QAction>
#include <QDockWidget>
#include <QListWidget>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "CallStackPanel.h"
#include "CodeEditor.h"
#include "ConsoleWindow.h"
#include "DebugPanels.h"
#include "MachinePanel.h"
#include "VariablesPanel.h"
#include "RealCompilerFixture.h"

namespace {

// Line numbers on the right.
const char *const Adder =
    "program Demo;\n"                  // 1
    "var total, i: Integer;\n"         // 2
    "\n"                               // 3
    "procedure Add(k: Integer);\n"     // 4
    "begin\n"                          // 5
    "  total := total + k\n"           // 6
    "end;\n"                           // 7
    "\n"                               // 8
    "begin\n"                          // 9
    "  total := 0;\n"                  // 10
    "  for i := 1 to 3 do\n"           // 11
    "    Add(i);\n"                    // 12
    "  WriteLn(IntToStr(total))\n"     // 13
    "end.\n";                          // 14

}  // namespace

class DebugFlowTest : public RealCompilerTest {
 protected:
  void Open(const char *source) {
    WriteBytes(Path("demo.pas"), source);
    Window->LoadFile(Path("demo.pas"));
  }
  void Do(TDebugCommand command) { Window->DebugAction(command)->trigger(); }
  int CurrentLine() const {
    const QList<int> lines = Window->RichEdit1->LinesWithMark(TGutterMark::gmCurrentStatement);
    return lines.size() == 1 ? lines.front() + 1 : -static_cast<int>(lines.size());
  }
  QString Value(const QString &path) const {
    const QTreeWidgetItem *item = Window->Panels()->Variables()->Find(path);
    return item ? item->text(1) : QStringLiteral("(none)");
  }
  TDebugState State() const { return Window->DebugState().State(); }
};

TEST_F(DebugFlowTest, BreakpointStopsWithThePanelsAndContinueGoesOn) {
  Open(Adder);
  Window->ToggleBreakpointAt(5);
  Window->FileRun->trigger();
  ASSERT_EQ(State(), TDebugState::dsPaused);
  EXPECT_EQ(Window->windowTitle(), "Ulvan - demo.pas [paused]");
  EXPECT_EQ(CurrentLine(), 6);
  EXPECT_EQ(Window->RichEdit1->textCursor().blockNumber(), 5);
  EXPECT_TRUE(Window->RichEdit1->isReadOnly());
  EXPECT_TRUE(Window->Panels()->VariablesDock()->isVisible());
  EXPECT_TRUE(Window->Panels()->MachineDock()->isVisible());
  QTreeWidget *calls = Window->Panels()->CallStack();
  ASSERT_EQ(calls->topLevelItemCount(), 2);
  EXPECT_EQ(calls->topLevelItem(0)->text(0), "Add");
  EXPECT_EQ(calls->topLevelItem(1)->text(1), "12");
  EXPECT_EQ(Value("k"), "1");
  EXPECT_EQ(Value("Globals/total"), "0");

  Window->FileRun->trigger();  // Continue, to the breakpoint's next round
  EXPECT_EQ(Value("k"), "2");
  EXPECT_EQ(Value("Globals/total"), "1");
  EXPECT_TRUE(TVariablesPanel::IsChanged(Window->Panels()->Variables()->Find("Globals/total")));

  // A click on the main program's frame shows its line and its variables.
  calls->setCurrentItem(calls->topLevelItem(1));
  EXPECT_EQ(Window->RichEdit1->textCursor().blockNumber(), 11);
  EXPECT_EQ(Value("k"), "(none)");
  EXPECT_EQ(CurrentLine(), 6);

  Window->FileStop->trigger();
  EXPECT_EQ(State(), TDebugState::dsFinished);
  EXPECT_EQ(Window->windowTitle(), "Ulvan - demo.pas");
  EXPECT_FALSE(Window->RichEdit1->isReadOnly());
  EXPECT_EQ(CurrentLine(), 0);
  EXPECT_EQ(Window->Console()->windowTitle(), "Demo - stopped");
  EXPECT_TRUE(Dialogs->Calls.empty());
}

TEST_F(DebugFlowTest, StepsFollowTheStatements) {
  Open(Adder);
  struct TStep {
    TDebugCommand Command;
    int Line;
  };
  const TStep steps[] = {
      {TDebugCommand::dcStepOver, 10},  // a step starts the program at its first statement
      {TDebugCommand::dcStepOver, 11},
      {TDebugCommand::dcStepOver, 12},
      {TDebugCommand::dcStepOver, 11},  // over Add, to the loop's next round
      {TDebugCommand::dcStepInto, 12},
      {TDebugCommand::dcStepInto, 6},
      {TDebugCommand::dcStepOut, 11},
  };
  for (const TStep &step : steps) {
    Do(step.Command);
    ASSERT_EQ(State(), TDebugState::dsPaused);
    EXPECT_EQ(CurrentLine(), step.Line) << "after command " << static_cast<int>(step.Command);
  }
  // Run to Cursor; then an instruction step moves the listing's highlight, not the statement's.
  Window->RichEdit1->GoToLine(12);
  Do(TDebugCommand::dcRunToCursor);
  EXPECT_EQ(CurrentLine(), 13);
  TMachinePanel *machine = Window->Panels()->Machine();
  const int pc = machine->CurrentInstruction();
  Do(TDebugCommand::dcStepInstruction);
  EXPECT_EQ(CurrentLine(), 13);
  EXPECT_NE(machine->CurrentInstruction(), pc);
  // The caret's line shades its instructions; choosing one in the listing shows its line.
  Window->RichEdit1->GoToLine(9);
  const std::vector<int> shaded = machine->ShadedInstructions();
  ASSERT_FALSE(shaded.empty());
  emit machine->InstructionChosen(shaded.front(), 10);
  EXPECT_EQ(Window->RichEdit1->textCursor().blockNumber(), 9);
  Do(TDebugCommand::dcContinue);
  EXPECT_EQ(State(), TDebugState::dsFinished);
  EXPECT_EQ(Window->Console()->ScreenText(), "6\n");
}

TEST_F(DebugFlowTest, BreakpointOnALineWithoutAStatementIsHollowAndBindsToTheNext) {
  Open(Adder);
  Window->ToggleBreakpointAt(8);  // the empty line before the main program's BEGIN
  Window->FileRun->trigger();
  EXPECT_TRUE(Window->RichEdit1->HasLineMark(8, TGutterMark::gmHollowBreakpoint));
  EXPECT_FALSE(Window->RichEdit1->HasLineMark(8, TGutterMark::gmBreakpoint));
  EXPECT_EQ(CurrentLine(), 10);
}

TEST_F(DebugFlowTest, RunTimeErrorIsAStopUntilContinueOrStopEndsTheRun) {
  const char *source =
      "program Demo;\nfunction Average(sum, count: Integer): Integer;\nbegin\n"
      "  Average := sum div count\nend;\nbegin\n  WriteLn(IntToStr(Average(10, 0)))\nend.\n";
  for (const TDebugCommand end : {TDebugCommand::dcContinue, TDebugCommand::dcStop}) {
    SCOPED_TRACE(static_cast<int>(end));
    Dialogs->Calls.clear();
    Open(source);
    Window->FileRun->trigger();
    ASSERT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_EQ(Dialogs->Calls[0].Text, "Division by zero.\nLine 4, in Average");
    EXPECT_TRUE(Window->DebugState().AtError());
    EXPECT_FALSE(Window->DebugAction(TDebugCommand::dcStepInto)->isEnabled());
    EXPECT_EQ(Window->Panels()->CallStack()->topLevelItem(0)->text(0), "Average");
    EXPECT_EQ(Value("count"), "0");
    Do(end);
    EXPECT_EQ(State(), TDebugState::dsFinished);
    EXPECT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_EQ(Window->Console()->windowTitle(), "Demo - run-time error");
    EXPECT_TRUE(Window->RichEdit1->HasLineMark(3, TGutterMark::gmRunError));
  }
}

TEST_F(DebugFlowTest, ReadLnWhileSteppingWaitsAndTheStepEndsAfterIt) {
  Open("program Echo;\nvar s: String;\nbegin\n  ReadLn(s);\n  WriteLn('<' + s + '>')\nend.\n");
  Do(TDebugCommand::dcStepOver);
  ASSERT_EQ(CurrentLine(), 4);
  TDebugState whileWaiting = TDebugState::dsIdle;
  QString status, title;
  bool continueEnabled = true;
  WhenConsoleWaits([&] {
    whileWaiting = State();
    status = Window->statusBar()->currentMessage();
    title = Window->windowTitle();
    continueEnabled = Window->FileRun->isEnabled();
    Window->Console()->TypeKey("hi\r");
  });
  Do(TDebugCommand::dcStepOver);
  EXPECT_EQ(whileWaiting, TDebugState::dsWaitingForInput);
  EXPECT_EQ(status, "Waiting for input in the console");
  EXPECT_EQ(title, "Ulvan - demo.pas [running]");
  EXPECT_FALSE(continueEnabled);
  EXPECT_EQ(State(), TDebugState::dsPaused);  // the line ended the step, not the program
  EXPECT_EQ(CurrentLine(), 5);
  EXPECT_TRUE(Window->Console()->isVisible());
  Do(TDebugCommand::dcContinue);
  EXPECT_EQ(Window->Console()->ScreenText(), "hi\n<hi>\n");
}

TEST_F(DebugFlowTest, ArraysOpenInPagesAndRecordsIntoFields) {
  Open("program Arr;\ntype TPoint = record x, y: Integer end;\n"
       "var a: array[1..250] of Integer;\n  p: TPoint;\n  i: Integer;\nbegin\n"
       "  for i := 1 to 250 do a[i] := i * i;\n  p.x := 3; p.y := 4;\n  WriteLn('done')\nend.\n");
  Window->ToggleBreakpointAt(8);
  Window->FileRun->trigger();
  ASSERT_EQ(CurrentLine(), 9);
  TVariablesPanel *tree = Window->Panels()->Variables();
  tree->Find("Globals/a")->setExpanded(true);
  tree->Find("Globals/p")->setExpanded(true);
  QTreeWidgetItem *array = tree->Find("Globals/a");
  ASSERT_EQ(array->childCount(), 3);
  EXPECT_EQ(array->child(0)->text(0), "a[1] .. a[100]");
  EXPECT_EQ(array->child(2)->text(0), "a[201] .. a[250]");
  EXPECT_EQ(array->child(2)->childCount(), 0);  // fetched when opened
  array->child(2)->setExpanded(true);
  ASSERT_EQ(array->child(2)->childCount(), 50);
  EXPECT_EQ(array->child(2)->child(49)->text(1), "62500");
  EXPECT_EQ(Value("Globals/p/p.y"), "4");
  Window->FileStop->trigger();
}

TEST_F(DebugFlowTest, PauseStopsAnEndlessLoop) {
  Open("program Loop;\nvar i: Integer;\nbegin\n  i := 0;\n  while true do\n    i := i + 1\nend.\n");
  bool pauseEnabled = false;
  QTimer::singleShot(100, Window.get(), [&] {
    pauseEnabled = Window->DebugAction(TDebugCommand::dcPause)->isEnabled();
    Do(TDebugCommand::dcPause);
  });
  Window->FileRun->trigger();
  EXPECT_TRUE(pauseEnabled);
  ASSERT_EQ(State(), TDebugState::dsPaused);
  EXPECT_TRUE(CurrentLine() == 5 || CurrentLine() == 6) << CurrentLine();
  EXPECT_NE(Value("Globals/i"), "0");
  Window->FileStop->trigger();
  EXPECT_EQ(State(), TDebugState::dsFinished);
}

TEST_F(DebugFlowTest, BreakpointSetWhileRunningStopsThereAndClosingEndsTheRun) {
  Open("program Loop;\nvar i: Integer;\nbegin\n  i := 0;\n  while true do\n    i := i + 1\nend.\n");
  QTimer::singleShot(100, Window.get(), [&] { Window->ToggleBreakpointAt(5); });
  Window->FileRun->trigger();
  ASSERT_EQ(State(), TDebugState::dsPaused);
  EXPECT_EQ(CurrentLine(), 6);
  EXPECT_EQ(Window->statusBar()->currentMessage(), "Breakpoint at line 6 in Loop");
  EXPECT_TRUE(Window->close());
  EXPECT_EQ(State(), TDebugState::dsFinished);
  EXPECT_FALSE(Window->Console()->isVisible());
  EXPECT_TRUE(Dialogs->Calls.empty());
}

#endif
