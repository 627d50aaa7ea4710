// The editor window's part in debugging: the debug commands, the breakpoints in the gutter,
// and what the window shows at each stop of the program.
#include "frmUVIDEMain.h"

#include "BreakpointMarks.h"
#include "CodeEditor.h"

QList<int> TUVIDEMain::BreakpointLines() const { return Breakpoints->Lines(); }

void TUVIDEMain::ToggleBreakpointAt(int line) {
  if (!Debug.Command(TDebugCommand::dcToggleBreakpoint)) return;
  Breakpoints->Toggle(line);
}

void TUVIDEMain::DebugCommandExecute(TDebugCommand command) {
  switch (command) {
    case TDebugCommand::dcToggleBreakpoint:
      ToggleBreakpointAt(RichEdit1->textCursor().blockNumber());
      return;
    default:
      return;
  }
}
