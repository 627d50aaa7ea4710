// The breakpoints of the edited text as marks in the editor's gutter, so that they move with
// their lines while the text is edited: a dot, or a ring where the line has no statement and
// the breakpoint binds to the next one. The marks of every file opened in the session are kept
// while another file is edited and come back with it.
#pragma once

#include <map>

#include <QList>
#include <QString>

class TCodeEditor;

class TBreakpointMarks {
 public:
  explicit TBreakpointMarks(TCodeEditor *editor) : Editor(editor) {}

  // Sets a breakpoint on the line (0-based) or removes the one there; true when one is set.
  bool Toggle(int line);
  // The lines with a breakpoint, dot or ring, ascending.
  QList<int> Lines() const;
  // A ring when the breakpoint binds to another line than its own, else a dot.
  void ShowBinding(int line, bool elsewhere);
  // Every breakpoint back to a dot (the text changed; the bindings are unknown).
  void ForgetBindings();

  // Keeps the breakpoints of the text as the file's, before the editor gets another text.
  void Keep(const QString &file);
  // Marks the file's kept breakpoints in the editor's (new) text.
  void Restore(const QString &file);

 private:
  TCodeEditor *Editor;
  std::map<QString, QList<int>> Kept;
};
