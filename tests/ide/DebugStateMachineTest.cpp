// The debug state machine: the commands each state offers and where each command leads.
#include <string>

#include <gtest/gtest.h>

#include "DebugStateMachine.h"

namespace {

using C = TDebugCommand;
using S = TDebugState;

// The enabled commands as letters in command order: c(ontinue) i(nto) o(ver) u(p and out)
// t(o cursor) p(ause) s(top) b(reakpoint) m(achine instruction); '-' for a disabled one.
std::string Enabled(const TDebugStateMachine &machine) {
  static const char letters[] = "ioutpsbm";
  std::string text = machine.IsEnabled(C::dcContinue) ? "c" : "-";
  for (int i = 1; i < DebugCommandCount; ++i)
    text += machine.IsEnabled(static_cast<C>(i)) ? letters[i - 1] : '-';
  return text;
}

// A machine brought to a state by the events of `path`: a command letter as above, or
// W (input wanted), D (input done), P (stopped), E (stopped at an error), F (ended), R (reset).
TDebugStateMachine Reach(const std::string &path) {
  TDebugStateMachine machine;
  for (const char step : path) {
    switch (step) {
      case 'W': machine.InputWanted(); break;
      case 'D': machine.InputDone(); break;
      case 'P': machine.Stopped(false); break;
      case 'E': machine.Stopped(true); break;
      case 'F': machine.Ended(); break;
      case 'R': machine.Reset(); break;
      default: {
        const std::string letters = "ciouTpsbm";
        const auto at = letters.find(step == 't' ? 'T' : step);
        machine.Command(static_cast<C>(at));
      }
    }
  }
  return machine;
}

}  // namespace

TEST(DebugStateMachine, EachStateOffersItsCommands) {
  struct TCase {
    const char *Path;
    S State;
    const char *Enabled;
    bool Editable;
  };
  const TCase cases[] = {
      {"", S::dsIdle, "cio-t--bm", true},
      {"c", S::dsRunning, "-----psb-", false},
      {"cp", S::dsRunning, "------sb-", false},  // pause asked, not yet honoured
      {"cP", S::dsPaused, "ciout-sbm", false},
      {"cpP", S::dsPaused, "ciout-sbm", false},
      {"cE", S::dsPaused, "c-----sb-", false},  // post mortem
      {"cW", S::dsWaitingForInput, "------sb-", false},
      {"cWD", S::dsRunning, "-----psb-", false},
      {"iWP", S::dsPaused, "ciout-sbm", false},  // a step ends after its ReadLn
      {"cF", S::dsFinished, "cio-t--bm", true},
      {"cPs", S::dsFinished, "cio-t--bm", true},
      {"cEc", S::dsFinished, "cio-t--bm", true},  // Continue ends a post-mortem stop
      {"cFR", S::dsIdle, "cio-t--bm", true},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Path);
    const TDebugStateMachine machine = Reach(c.Path);
    EXPECT_EQ(machine.State(), c.State);
    EXPECT_EQ(Enabled(machine), c.Enabled);
    EXPECT_EQ(machine.TextEditable(), c.Editable);
  }
}

TEST(DebugStateMachine, CommandsLeadWhereTheTableSays) {
  struct TCase {
    const char *From;
    C Command;
    bool Accepted;
    S To;
  };
  const TCase cases[] = {
      {"", C::dcContinue, true, S::dsRunning},
      {"", C::dcStepInto, true, S::dsRunning},
      {"", C::dcStepOut, false, S::dsIdle},
      {"", C::dcStop, false, S::dsIdle},
      {"", C::dcToggleBreakpoint, true, S::dsIdle},
      {"c", C::dcPause, true, S::dsRunning},
      {"c", C::dcStepOver, false, S::dsRunning},
      {"c", C::dcStop, true, S::dsFinished},
      {"cW", C::dcStop, true, S::dsFinished},
      {"cW", C::dcContinue, false, S::dsWaitingForInput},  // typed input is no Continue
      {"cP", C::dcStepOut, true, S::dsRunning},
      {"cP", C::dcStepInstruction, true, S::dsRunning},
      {"cP", C::dcRunToCursor, true, S::dsRunning},
      {"cP", C::dcStop, true, S::dsFinished},
      {"cE", C::dcStepInto, false, S::dsPaused},
      {"cE", C::dcContinue, true, S::dsFinished},
      {"cF", C::dcStepOver, true, S::dsRunning},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(std::string(c.From) + " then command " +
                 std::to_string(static_cast<int>(c.Command)));
    TDebugStateMachine machine = Reach(c.From);
    int changes = 0;
    machine.Changed = [&] { ++changes; };
    EXPECT_EQ(machine.Command(c.Command), c.Accepted);
    EXPECT_EQ(machine.State(), c.To);
    if (!c.Accepted) {
      EXPECT_EQ(changes, 0);
    }
  }
}

TEST(DebugStateMachine, AnswersOutsideTheirStateChangeNothing) {
  // A stop or an input report that comes late (after Stop) must not revive the session.
  const char *paths[] = {"csP", "csW", "csE", "R", "W", "P"};
  for (const char *path : paths) {
    SCOPED_TRACE(path);
    const TDebugStateMachine machine = Reach(path);
    EXPECT_FALSE(machine.InSession());
  }
}
