// The editor window's part in debugging: the run commands driving the engine, the breakpoints
// in the gutter, and what the window shows at each stop of the program.
//
// The program runs on the window's thread inside the engine's run commands; the console's Poll
// and key waits run the event loop meanwhile, so the window stays responsive and Pause, Stop
// and the breakpoints reach the engine from there.
#include "frmUVIDEMain.h"

#include <algorithm>

#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include "BreakpointMarks.h"
#include "CodeEditor.h"
#include "ConsoleWindow.h"
#include "DebugActions.h"
#include "DebugPanels.h"
#include "DebugView.h"
#include "Debugger.h"
#include "LineMarker.h"
#include "MachinePanel.h"
#include "SourceText.h"

namespace {

// The engine's command for a run command of the window, from a stop.
TStopInfo Go(TUVDebugger &engine, TDebugCommand command, int caretLine) {
  switch (command) {
    case TDebugCommand::dcContinue: return engine.Continue();
    case TDebugCommand::dcStepInto: return engine.StepInto();
    case TDebugCommand::dcStepOver: return engine.StepOver();
    case TDebugCommand::dcStepOut: return engine.StepOut();
    case TDebugCommand::dcRunToCursor: return engine.RunToLine(caretLine);
    case TDebugCommand::dcStepInstruction: return engine.StepInstruction();
    default: return engine.LastStop();
  }
}

}  // namespace

void TUVIDEMain::CreateDebugger() {
  ConsoleWindow->SetWaitHandler([this](bool waiting) { InputWait(waiting); });
  Engine = std::make_unique<TUVDebugger>(*Interpreter);
  ReadOnlyLabel = new QLabel(QStringLiteral("Read-only"), this);
  ReadOnlyLabel->setObjectName(QStringLiteral("ReadOnlyLabel"));
  ReadOnlyLabel->setToolTip(QStringLiteral("The text cannot be changed while a program runs or is "
                                           "paused; Stop (Ctrl+F2) makes it editable"));
  statusBar()->addPermanentWidget(ReadOnlyLabel);
  ReadOnlyLabel->hide();
  PanelsValue = new TDebugPanels(this);
  View = std::make_unique<TDebugView>(*PanelsValue, *Engine);
  connect(PanelsValue->CallStack(), &TCallStackPanel::FrameSelected, this, [this](int frame) {
    View->ShowFrame(frame);
    const int line = PanelsValue->CallStack()->topLevelItem(frame)->text(1).toInt();
    if (line > 0) RichEdit1->GoToLine(line - 1);
  });
  connect(PanelsValue->Machine(), &TMachinePanel::InstructionChosen, this, [this](int, int line) {
    if (line > 0) RichEdit1->GoToLine(line - 1);
  });
  connect(RichEdit1, &QTextEdit::cursorPositionChanged, this, [this] { CaretLineChanged(); });
  connect(RichEdit1->document(), &QTextDocument::contentsChange, this,
          [this](int, int removed, int added) {
            if (removed == 0 && added == 0) return;  // recolouring
            CompiledTextCurrent = false;
            Breakpoints->ForgetBindings();
          });
  DebugMenu->addSeparator();
  DebugMenu->addActions(PanelsValue->ToggleActions());
}

QAction *TUVIDEMain::DebugAction(TDebugCommand command) const {
  return DebugActions->Action(command);
}

void TUVIDEMain::DebugStateChanged() {
  DebugActions->Update(Debug);
  const bool editable = Debug.TextEditable();
  FileNew->setEnabled(editable);
  FileOpen->setEnabled(editable);
  // Read-only, yet with a caret the keys move: Run to Cursor and Toggle Breakpoint use it.
  RichEdit1->setReadOnly(!editable);
  if (!editable)
    RichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  ReadOnlyLabel->setVisible(!editable);
  UpdateCaption();
}

QList<int> TUVIDEMain::BreakpointLines() const { return Breakpoints->Lines(); }

void TUVIDEMain::ToggleBreakpointAt(int line) {
  if (!Debug.Command(TDebugCommand::dcToggleBreakpoint)) return;
  Breakpoints->Toggle(line, Debug.InSession() || CompiledTextCurrent ? Engine.get() : nullptr);
}

void TUVIDEMain::DebugCommandExecute(TDebugCommand command) {
  switch (command) {
    case TDebugCommand::dcToggleBreakpoint:
      ToggleBreakpointAt(RichEdit1->textCursor().blockNumber());
      return;
    case TDebugCommand::dcPause:
      if (Debug.Command(command)) Engine->Pause();
      return;
    case TDebugCommand::dcStop:
      FileStopExecute();
      return;
    default:
      RunCommand(command);
  }
}

void TUVIDEMain::RunCommand(TDebugCommand command) {
  if (Running || !Debug.IsEnabled(command)) return;
  if (Debug.AtError()) {
    // Continue after a run-time error ends the run; its outcome is shown already.
    Debug.Command(command);
    EndSession({}, true);
    return;
  }
  const int caretLine = RichEdit1->textCursor().blockNumber() + 1;
  if (Debug.InSession()) {
    Debug.Command(command);
    HandleStop(RunEngine([&] { return Go(*Engine, command, caretLine); }));
    return;
  }
  const IProgramRef program = CompileForRun();
  if (!program) return;
  Engine->Load(program);
  CompiledTextCurrent = true;
  Breakpoints->BindAll(*Engine);
  View->ShowListing();
  RunSeconds = 0;
  StopAsked = false;
  ShadedLine = 0;
  Debug.Command(command);
  TStopInfo stop = RunEngine([&] { return Engine->Start(); });
  // Stepping begins at the first statement; Continue and Run to Cursor go on from there,
  // unless that statement is where they are to stop.
  if (stop.Reason == TStopReason::Start && Debug.InSession() && !CloseConfirmed) {
    if (command == TDebugCommand::dcContinue) {
      if (std::ranges::count(Engine->Breakpoints(), stop.Line) > 0)
        stop.Reason = TStopReason::Breakpoint;
      else
        stop = RunEngine([&] { return Engine->Continue(); });
    } else if (command == TDebugCommand::dcRunToCursor) {
      const std::vector<std::int32_t> lines = Engine->StatementLines();
      const auto bound = std::ranges::lower_bound(lines, caretLine);
      if (bound == lines.end() || *bound != stop.Line)
        stop = RunEngine([&] { return Engine->RunToLine(caretLine); });
    }
  }
  HandleStop(stop);
}

TStopInfo TUVIDEMain::RunEngine(const std::function<TStopInfo()> &command) {
  Running = true;
  statusBar()->showMessage(QStringLiteral("Running..."));
  QElapsedTimer clock;
  clock.start();
  const TStopInfo stop = command();
  RunSeconds += static_cast<double>(clock.elapsed()) / 1000.0;
  Running = false;
  return stop;
}

void TUVIDEMain::HandleStop(const TStopInfo &stop) {
  if (CloseConfirmed) {
    // The window was asked to close during the run and allowed to; it closes now.
    Engine->Stop();
    Debug.Ended();
    QTimer::singleShot(0, this, &QWidget::close);
    return;
  }
  TRunOutcome outcome;
  outcome.Seconds = RunSeconds;
  switch (stop.Reason) {
    case TStopReason::Ended:
      outcome.End = StopAsked ? TRunEnd::reStopped : TRunEnd::reFinished;
      EndSession(outcome);
      return;
    case TStopReason::Stopped:
      outcome.End = TRunEnd::reStopped;
      EndSession(outcome);
      return;
    case TStopReason::RunError:
      outcome.End = TRunEnd::reRunError;
      outcome.Message = BytesToText(stop.Message);
      outcome.Line = stop.Line;
      outcome.Routine = BytesToText(stop.Routine);
      Debug.Stopped(true);
      ShowStop(stop);
      ShowRunOutcome(outcome);
      return;
    default:
      break;
  }
  if (!Debug.InSession()) {  // stopped meanwhile
    Engine->Stop();
    outcome.End = TRunEnd::reStopped;
    EndSession(outcome);
    return;
  }
  Debug.Stopped(false);
  ShowStop(stop);
  const QString where = stop.Line > 0 ? QStringLiteral(" at line %1").arg(stop.Line) : QString();
  const QString routine =
      stop.Routine.empty() ? QString() : QStringLiteral(" in ") + BytesToText(stop.Routine);
  statusBar()->showMessage((stop.Reason == TStopReason::Breakpoint ? QStringLiteral("Breakpoint")
                                                                   : QStringLiteral("Paused")) +
                           where + routine);
}

void TUVIDEMain::ShowStop(const TStopInfo &stop) {
  PanelsValue->ShowAtStop();
  View->ShowStop();
  RichEdit1->ClearLineMarks(TGutterMark::gmCurrentStatement);
  if (stop.Line <= 0 || stop.Reason == TStopReason::RunError) return;
  RichEdit1->SetLineMark(stop.Line - 1, TGutterMark::gmCurrentStatement);
  LineMarker->ShowLine(stop.Line - 1, TLineMarkKind::lmCurrentStatement);
}

void TUVIDEMain::EndSession(const TRunOutcome &outcome, bool shown) {
  Debug.Ended();
  RichEdit1->ClearLineMarks(TGutterMark::gmCurrentStatement);
  if (LineMarker->MarkedKind() == TLineMarkKind::lmCurrentStatement) LineMarker->Clear();
  PanelsValue->Clear();
  ShadedLine = 0;
  if (!shown) ShowRunOutcome(outcome);
}

void TUVIDEMain::ShowRunOutcome(const TRunOutcome &outcome) {
  statusBar()->showMessage(RunStatusText(outcome));
  ConsoleWindow->ShowEnd(outcome.End, RunEndLine(outcome));
  if (outcome.End != TRunEnd::reRunError) return;
  if (outcome.Line > 0) {
    LineMarker->ShowLine(outcome.Line - 1, TLineMarkKind::lmRunError);
    RichEdit1->SetLineMark(outcome.Line - 1, TGutterMark::gmRunError);
  }
  Dialogs->Error(QStringLiteral("Ulvan"), RunErrorBoxText(outcome));
}

void TUVIDEMain::FileStopExecute() {
  if (!Debug.InSession()) return;
  StopAsked = true;
  const bool atError = Debug.AtError();
  Debug.Command(TDebugCommand::dcStop);
  Engine->Stop();
  // A running command answers the stop itself; a paused program has nobody else to end it.
  if (!Running) EndSession({TRunEnd::reStopped, RunSeconds, {}, 0, {}}, atError);
}

void TUVIDEMain::InputWait(bool waiting) {
  if (waiting) {
    Debug.InputWanted();
    statusBar()->showMessage(QStringLiteral("Waiting for input in the console"));
    return;
  }
  // Between the characters of one line the program waits again at once: only a wait that
  // does not come back counts as the program going on.
  QTimer::singleShot(0, this, [this] {
    if (Debug.State() != TDebugState::dsWaitingForInput || ConsoleWindow->IsWaitingForKey()) return;
    Debug.InputDone();
    statusBar()->showMessage(QStringLiteral("Running..."));
  });
}

void TUVIDEMain::CaretLineChanged() {
  if (!Debug.InSession()) return;
  const int line = RichEdit1->textCursor().blockNumber() + 1;
  if (line == ShadedLine) return;
  ShadedLine = line;
  PanelsValue->Machine()->ShadeLine(line);
}
