#include "BreakpointMarks.h"

#include <algorithm>

#include "CodeEditor.h"

bool TBreakpointMarks::Toggle(int line) {
  const bool set = !Lines().contains(line);
  Editor->SetLineMark(line, TGutterMark::gmBreakpoint, set);
  if (!set) Editor->SetLineMark(line, TGutterMark::gmHollowBreakpoint, false);
  return set && Editor->HasLineMark(line, TGutterMark::gmBreakpoint);
}

QList<int> TBreakpointMarks::Lines() const {
  QList<int> lines = Editor->LinesWithMark(TGutterMark::gmBreakpoint) +
                     Editor->LinesWithMark(TGutterMark::gmHollowBreakpoint);
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  return lines;
}

void TBreakpointMarks::ShowBinding(int line, bool elsewhere) {
  if (!Lines().contains(line)) return;
  Editor->SetLineMark(line, TGutterMark::gmBreakpoint, !elsewhere);
  Editor->SetLineMark(line, TGutterMark::gmHollowBreakpoint, elsewhere);
}

void TBreakpointMarks::ForgetBindings() {
  for (const int line : Editor->LinesWithMark(TGutterMark::gmHollowBreakpoint)) ShowBinding(line, false);
}

void TBreakpointMarks::Keep(const QString &file) { Kept[file] = Lines(); }

void TBreakpointMarks::Restore(const QString &file) {
  const auto kept = Kept.find(file);
  if (kept == Kept.end()) return;
  for (const int line : kept->second) Editor->SetLineMark(line, TGutterMark::gmBreakpoint);
}
