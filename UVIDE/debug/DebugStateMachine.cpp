// The enabling table and the transitions of the debug commands.
#include "DebugStateMachine.h"

namespace {

using C = TDebugCommand;
using S = TDebugState;

constexpr int Index(C command) { return static_cast<int>(command); }
constexpr int Index(S state) { return static_cast<int>(state); }

// Enabled commands per state, in the order of TDebugCommand:
//                      Cont StIn StOv StOu ToCu Paus Stop Brk  StIs
constexpr bool Table[5][DebugCommandCount] = {
    /* Idle     */ {true, true, true, false, true, false, false, true, true},
    /* Running  */ {false, false, false, false, false, true, true, true, false},
    /* Paused   */ {true, true, true, true, true, false, true, true, true},
    /* Waiting  */ {false, false, false, false, false, false, true, true, false},
    /* Finished */ {true, true, true, false, true, false, false, true, true},
};

bool RunsProgram(C command) {
  return command != C::dcPause && command != C::dcStop && command != C::dcToggleBreakpoint;
}

}  // namespace

bool TDebugStateMachine::IsEnabled(TDebugCommand command) const {
  if (AtError()) return command == C::dcContinue || command == C::dcStop ||
                        command == C::dcToggleBreakpoint;
  if (command == C::dcPause && PauseRequested) return false;
  return Table[Index(Current)][Index(command)];
}

bool TDebugStateMachine::Command(TDebugCommand command) {
  if (!IsEnabled(command)) return false;
  if (command == C::dcToggleBreakpoint) return true;
  if (command == C::dcStop || (command == C::dcContinue && AtError())) {
    Enter(S::dsFinished);
  } else if (command == C::dcPause) {
    PauseRequested = true;
    if (Changed) Changed();
  } else if (RunsProgram(command)) {
    Enter(S::dsRunning);
  }
  return true;
}

void TDebugStateMachine::InputWanted() {
  if (Current == S::dsRunning) Enter(S::dsWaitingForInput);
}

void TDebugStateMachine::InputDone() {
  if (Current == S::dsWaitingForInput) Enter(S::dsRunning);
}

void TDebugStateMachine::Stopped(bool atError) {
  if (Current == S::dsRunning || Current == S::dsWaitingForInput) Enter(S::dsPaused, atError);
}

void TDebugStateMachine::Ended() {
  if (InSession()) Enter(S::dsFinished);
}

void TDebugStateMachine::Reset() {
  if (Current == S::dsFinished) Enter(S::dsIdle);
}

void TDebugStateMachine::Enter(TDebugState state, bool atError) {
  Current = state;
  ErrorStop = atError;
  PauseRequested = false;
  if (Changed) Changed();
}
