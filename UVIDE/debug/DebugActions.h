// The debug commands: Run/Continue (the window's Run), Step Into, Step Over, Step Out, Run to
// Cursor, Pause, Stop (the window's Stop), Toggle Breakpoint and Step Instruction, with the
// Debug menu and the tool bar's buttons; enabled as the debug state machine says.
#pragma once

#include <array>

#include <QObject>

#include "DebugStateMachine.h"

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

class TDebugActions final : public QObject {
  Q_OBJECT
 public:
  // The new commands are made as children of `window`; `run` and `stop` are the window's own.
  TDebugActions(QWidget *window, QAction *run, QAction *stop);

  QAction *Action(TDebugCommand command) const { return Actions[static_cast<int>(command)]; }
  // The Debug menu, added to `bar`, and the buttons after the tool bar's Run.
  QMenu *AddMenu(QMenuBar *bar);
  void AddButtons(QToolBar *bar);
  // Makes the commands work in another window too (the console).
  void AddShortcutsTo(QWidget *window);
  // Enabling, and Run's caption ("&Run" or "&Continue"), for the machine's state.
  void Update(const TDebugStateMachine &machine);

 signals:
  void Triggered(TDebugCommand command);

 private:
  std::array<QAction *, DebugCommandCount> Actions{};
};
