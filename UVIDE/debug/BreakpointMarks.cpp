#include "BreakpointMarks.h"

#include <algorithm>

#include "CodeEditor.h"
#include "Debugger.h"

bool TBreakpointMarks::Toggle(int line, TUVDebugger *engine) {
  const bool set = !Lines().contains(line);
  Editor->SetLineMark(line, TGutterMark::gmBreakpoint, set);
  if (!set) Editor->SetLineMark(line, TGutterMark::gmHollowBreakpoint, false);
  const bool on = set && Editor->HasLineMark(line, TGutterMark::gmBreakpoint);
  if (engine != nullptr) Bind(line, on, *engine);
  return on;
}

void TBreakpointMarks::BindAll(TUVDebugger &engine) {
  engine.ClearAllBreakpoints();
  Bound.clear();
  for (const int line : Lines()) Bind(line, true, engine);
}

void TBreakpointMarks::Bind(int line, bool on, TUVDebugger &engine) {
  if (on) {
    const int bound = engine.SetBreakpoint(line + 1);
    Bound[line] = bound;
    ShowBinding(line, bound != line + 1);
    return;
  }
  const auto found = Bound.find(line);
  if (found == Bound.end()) return;
  const int bound = found->second;
  Bound.erase(found);
  // Another breakpoint may bind to the same line; it stays.
  for (const auto &[other, otherBound] : Bound)
    if (otherBound == bound) return;
  if (bound > 0) engine.ClearBreakpoint(bound);
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
  Bound.clear();
  for (const int line : Editor->LinesWithMark(TGutterMark::gmHollowBreakpoint)) ShowBinding(line, false);
}

void TBreakpointMarks::Keep(const QString &file) { Kept[file] = Lines(); }

void TBreakpointMarks::Restore(const QString &file) {
  const auto kept = Kept.find(file);
  if (kept == Kept.end()) return;
  for (const int line : kept->second) Editor->SetLineMark(line, TGutterMark::gmBreakpoint);
}
