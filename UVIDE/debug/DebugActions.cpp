#include "DebugActions.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>

#include "CommandIcons.h"

namespace {

struct TCommandText {
  TDebugCommand Command;
  const char *Name;
  const char *Caption;
  const char *Tip;
  const char *Status;
  QKeyCombination Key;
  TCommandIcon Icon;
};

const TCommandText Texts[] = {
    {TDebugCommand::dcStepInto, "DebugStepInto", "Step &Into", "Step Into",
     "Run to the next statement, into a called routine", QKeyCombination(Qt::Key_F7),
     TCommandIcon::ciStepInto},
    {TDebugCommand::dcStepOver, "DebugStepOver", "Step &Over", "Step Over",
     "Run to the next statement of this routine, over calls", QKeyCombination(Qt::Key_F8),
     TCommandIcon::ciStepOver},
    {TDebugCommand::dcStepOut, "DebugStepOut", "Step O&ut", "Step Out",
     "Run until the current routine has returned", Qt::SHIFT | Qt::Key_F8,
     TCommandIcon::ciStepOut},
    {TDebugCommand::dcRunToCursor, "DebugRunToCursor", "Run to &Cursor", "Run to Cursor",
     "Run until the program reaches the caret's line", QKeyCombination(Qt::Key_F4),
     TCommandIcon::ciRunToCursor},
    {TDebugCommand::dcPause, "DebugPause", "&Pause", "Pause",
     "Pause the running program at its next statement", QKeyCombination(), TCommandIcon::ciPause},
    {TDebugCommand::dcToggleBreakpoint, "DebugToggleBreakpoint", "Toggle &Breakpoint",
     "Toggle Breakpoint", "Set or remove a breakpoint on the caret's line",
     QKeyCombination(Qt::Key_F5), TCommandIcon::ciBreakpoint},
    {TDebugCommand::dcStepInstruction, "DebugStepInstruction", "Step I&nstruction",
     "Step Instruction", "Run one machine instruction", QKeyCombination(),
     TCommandIcon::ciStepInstruction},
};

}  // namespace

TDebugActions::TDebugActions(QWidget *window, QAction *run, QAction *stop) : QObject(window) {
  Actions[static_cast<int>(TDebugCommand::dcContinue)] = run;
  Actions[static_cast<int>(TDebugCommand::dcStop)] = stop;
  for (const TCommandText &text : Texts) {
    QList<QKeySequence> keys;
    if (text.Key.key() != Qt::Key_unknown) keys << QKeySequence(text.Key);
    QAction *action = MakeAction(window, text.Name, QString::fromLatin1(text.Caption),
                                 QString::fromLatin1(text.Tip), QString::fromLatin1(text.Status),
                                 keys, text.Icon, window->style());
    window->addAction(action);
    Actions[static_cast<int>(text.Command)] = action;
  }
  for (int i = 0; i < DebugCommandCount; ++i) {
    const auto command = static_cast<TDebugCommand>(i);
    // Run and Stop keep the window's own handlers, which lead here when a program is loaded.
    if (command == TDebugCommand::dcContinue || command == TDebugCommand::dcStop) continue;
    connect(Actions[i], &QAction::triggered, this, [this, command] { emit Triggered(command); });
  }
}

QMenu *TDebugActions::AddMenu(QMenuBar *bar) {
  using C = TDebugCommand;
  QMenu *menu = new QMenu(QStringLiteral("&Debug"), bar);
  menu->setObjectName(QStringLiteral("DebugMenu"));
  menu->menuAction()->setStatusTip(QStringLiteral("Run the program step by step"));
  menu->addActions({Action(C::dcContinue), Action(C::dcStepInto), Action(C::dcStepOver),
                    Action(C::dcStepOut), Action(C::dcRunToCursor), Action(C::dcStepInstruction)});
  menu->addSeparator();
  menu->addActions({Action(C::dcPause), Action(C::dcStop)});
  menu->addSeparator();
  menu->addAction(Action(C::dcToggleBreakpoint));
  return menu;
}

void TDebugActions::AddButtons(QToolBar *bar) {
  using C = TDebugCommand;
  bar->addActions({Action(C::dcPause), Action(C::dcStepInto), Action(C::dcStepOver),
                   Action(C::dcStepOut), Action(C::dcRunToCursor), Action(C::dcStepInstruction),
                   Action(C::dcToggleBreakpoint)});
}

void TDebugActions::AddShortcutsTo(QWidget *window) {
  for (QAction *action : Actions)
    if (!action->shortcut().isEmpty()) window->addAction(action);
}

void TDebugActions::Update(const TDebugStateMachine &machine) {
  for (int i = 0; i < DebugCommandCount; ++i)
    Actions[i]->setEnabled(machine.IsEnabled(static_cast<TDebugCommand>(i)));
  QAction *run = Action(TDebugCommand::dcContinue);
  const bool paused = machine.State() == TDebugState::dsPaused;
  run->setText(paused ? QStringLiteral("&Continue") : QStringLiteral("&Run"));
  run->setToolTip(paused ? QStringLiteral("Continue") : QStringLiteral("Run"));
  run->setStatusTip(paused ? machine.AtError() ? QStringLiteral("End the run stopped by the error")
                                               : QStringLiteral("Continue the paused program")
                           : QStringLiteral("Compile and run current program"));
}
