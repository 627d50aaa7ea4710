// The breakpoints of the edited text as marks in the editor's gutter, so that they move with
// their lines while the text is edited: a dot, or a ring where the line has no statement and
// the breakpoint binds to the next one. The marks of every file opened in the session are kept
// while another file is edited and come back with it.
#pragma once

#include <map>

#include <QList>
#include <QString>

class TCodeEditor;
class TUVDebugger;

class TBreakpointMarks {
 public:
  explicit TBreakpointMarks(TCodeEditor *editor) : Editor(editor) {}

  // Sets a breakpoint on the line (0-based) or removes the one there; true when one is set.
  // With an engine whose program was compiled from the text as it is, the breakpoint is bound
  // in it (or cleared there) and its mark shows the binding.
  bool Toggle(int line, TUVDebugger *engine = nullptr);
  // Every breakpoint bound afresh in the engine, after it got a new program.
  void BindAll(TUVDebugger &engine);
  // The lines with a breakpoint, dot or ring, ascending.
  QList<int> Lines() const;
  // A ring when the breakpoint binds to another line than its own, else a dot.
  void ShowBinding(int line, bool elsewhere);
  // The text changed: the bindings are unknown, every breakpoint is a dot again.
  void ForgetBindings();

  // Keeps the breakpoints of the text as the file's, before the editor gets another text.
  void Keep(const QString &file);
  // Marks the file's kept breakpoints in the editor's (new) text.
  void Restore(const QString &file);

 private:
  TCodeEditor *Editor;
  void Bind(int line, bool on, TUVDebugger &engine);

  std::map<QString, QList<int>> Kept;
  // Each bound breakpoint's line (0-based) and the line (1-based) it binds to in the engine.
  std::map<int, int> Bound;
};
