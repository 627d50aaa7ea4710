// Which debug commands the window offers, and where each command and each answer of the
// running program leads. No Qt: the window asks it, acts, and reports back.
//
//   Idle, Finished --run or step--> Running --input wanted--> Waiting for input
//                                    ^   |   <--line read-----------'   |
//                      continue/step |   | breakpoint, a step's end,    | the step that
//                                    |   v pause, run-time error        | read it ends
//                                   Paused <----------------------------'
//   Running, Waiting, Paused --Stop, or the program ends--> Finished --edit, New, Open--> Idle
#pragma once

#include <functional>

enum class TDebugState { dsIdle, dsRunning, dsPaused, dsWaitingForInput, dsFinished };

enum class TDebugCommand {
  dcContinue,  // Run when nothing runs
  dcStepInto,
  dcStepOver,
  dcStepOut,
  dcRunToCursor,
  dcPause,
  dcStop,
  dcToggleBreakpoint,
  dcStepInstruction,
};
inline constexpr int DebugCommandCount = 9;

class TDebugStateMachine {
 public:
  TDebugState State() const { return Current; }
  // Paused at a run-time error: nothing can run on; Continue and Stop end the run.
  bool AtError() const { return Current == TDebugState::dsPaused && ErrorStop; }
  // A program is loaded: running, waiting or paused.
  bool InSession() const {
    return Current != TDebugState::dsIdle && Current != TDebugState::dsFinished;
  }
  bool IsEnabled(TDebugCommand command) const;
  // The text may be edited, and New and Open are offered, only when no program is loaded.
  bool TextEditable() const { return !InSession(); }

  // A command the user gave; false when it is not enabled (nothing changes then). Commands that run the program lead to
  // Running; Pause keeps Running until the program stops; Stop, and Continue at a run-time
  // error, lead to Finished; Toggle Breakpoint changes no state.
  bool Command(TDebugCommand command);
  // The running program waits for a line in the console, or has got it.
  void InputWanted();
  void InputDone();
  // The program stopped where it can be inspected.
  void Stopped(bool atError);
  // The program ended (or was stopped); harmless when it already has.
  void Ended();
  // Finished -> Idle when the text changes or another file comes.
  void Reset();

  // Called after every change of state.
  std::function<void()> Changed;

 private:
  void Enter(TDebugState state, bool atError = false);

  TDebugState Current = TDebugState::dsIdle;
  bool ErrorStop = false;
  bool PauseRequested = false;
};
