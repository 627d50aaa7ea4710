// Shows one line of the editor to the user: the caret at the line's start with no selection, the
// line scrolled towards the middle of the view, and the whole line marked by a background colour
// until the text changes, the mark is cleared or another line is shown.
#pragma once

#include <QColor>
#include <QObject>

class TCodeEditor;

enum class TLineMarkKind {
  lmDiagnostic,  // the line a diagnostic names
  lmRunError     // the line of a run-time error
};

class TLineMarker final : public QObject {
  Q_OBJECT
 public:
  explicit TLineMarker(TCodeEditor *editor);

  // Line index from 0; outside the text it is clamped to the first or last line.
  void ShowLine(int index, TLineMarkKind kind);
  void Clear();
  // The marked line's index, -1 when none.
  int MarkedLine() const { return Marked; }
  TLineMarkKind MarkedKind() const { return Kind; }

  static QColor MarkColour(TLineMarkKind kind);

 private:
  TCodeEditor *Editor;
  int Marked = -1;
  TLineMarkKind Kind = TLineMarkKind::lmDiagnostic;
};
