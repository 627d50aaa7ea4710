// Timing of the editor with everything on (gutter, caret line, partner highlighting, syntax
// colouring) on a 5,000-line program, on the real widgets (offscreen): one keystroke, all of
// its work included up to the repainted view and gutter; and highlighting every match of a
// word in the find bar.
//
//   build/tests/ide/editor_bench        (QT_QPA_PLATFORM=offscreen unless set)
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>

#include <algorithm>
#include <ctime>
#include <utility>
#include <cstdio>
#include <vector>

#include "CodeEditor.h"
#include "EditorPane.h"
#include "FindBar.h"
#include "Gutter.h"
#include "QtRichText.h"

namespace {

// One main block of `lines` lines: BEGIN on line 2, its END on the last line.
QString Program(int lines) {
  const char *body[] = {
      "  a := (a * 3 + b) mod 17;",
      "  if (a > b) and not odd(a) then",
      "  begin",
      "    s := 'line ' + IntToStr(a); { a comment }",
      "    WriteLn(s)",
      "  end;",
      "  repeat Dec(b) until b < 10;",
      "  x[a mod 10] := Sin(1.5e-3 * a);",
  };
  QString text = QStringLiteral("PROGRAM Big;\nVAR a, b: Integer; s: String; x: ARRAY[0..9] OF Real;\nBEGIN\n");
  for (int i = 3; i < lines - 1; ++i) text += QString::fromLatin1(body[(i - 3) % 8]) + QLatin1Char('\n');
  return text + QStringLiteral("END.");
}

double Ms(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

// The thread's processor time in ms: on a machine shared with other work the elapsed time
// also holds the waits for a processor.
double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct TStats {
  std::vector<double> Samples;  // elapsed
  std::vector<double> Cpu;      // processor time
  void Add(std::pair<double, double> sample) {
    Samples.push_back(sample.first);
    Cpu.push_back(sample.second);
  }
  void Print(const char *what) {
    auto at = [](std::vector<double> &v, double q) {
      std::sort(v.begin(), v.end());
      return v[static_cast<std::size_t>(q * double(v.size() - 1))];
    };
    std::printf("%-48s elapsed median %5.2f ms, 90%% %5.2f ms; processor median %5.2f ms, 90%% "
                "%5.2f ms (%zu runs)\n",
                what, at(Samples, 0.5), at(Samples, 0.9), at(Cpu, 0.5), at(Cpu, 0.9), Samples.size());
  }
};

// One key as the user types it: the key with the colouring, then the event loop's work (the
// partner search and the painting of the view and the gutter).
std::pair<double, double> Keystroke(TCodeEditor *edit, int line, bool atEnd, Qt::Key key) {
  QTextCursor caret(edit->document()->findBlockByNumber(line));
  if (atEnd) caret.movePosition(QTextCursor::EndOfBlock);
  else caret.movePosition(QTextCursor::NextWord);
  edit->setTextCursor(caret);
  QApplication::processEvents();
  QElapsedTimer t;
  t.start();
  const double cpu = CpuMs();
  QTest::keyClick(edit, key);
  QApplication::processEvents();
  // Painted once more, in case the event loop left it for later: an upper bound.
  edit->viewport()->repaint();
  edit->Gutter()->repaint();
  return {Ms(t), CpuMs() - cpu};
}

}  // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int lines = 5000;
  TEditorPane pane;
  TCodeEditor *edit = pane.Editor();
  TQtRichText::ConfigureEditor(edit);
  pane.resize(900, 700);
  pane.show();
  TQtRichText rich(edit);
  rich.InitHighlighter();
  edit->SetHighlighter(&rich);
  QElapsedTimer t;
  t.start();
  edit->setPlainText(Program(lines));
  QApplication::processEvents();
  std::printf("load %d lines with everything on:%*s%8.1f ms\n", lines, 20, "", Ms(t));
  edit->SetLineMark(40, TGutterMark::gmBreakpoint);
  edit->SetLineMark(41, TGutterMark::gmCurrentStatement);

  TStats plain, bracket, far, enter;
  for (int k = 0; k < 300; ++k) {
    const int line = 3 + (k * 37) % (lines - 4);
    plain.Add(Keystroke(edit, line, true, Qt::Key_X));
    // A ) at the end of a line: no ( is open, so its partner is looked for as far as it goes.
    bracket.Add(Keystroke(edit, line, true, Qt::Key_ParenRight));
    enter.Add(Keystroke(edit, line, true, Qt::Key_Return));
  }
  // The worst case: the caret next to the main block's BEGIN, whose END is 5,000 lines down.
  for (int k = 0; k < 30; ++k) {
    far.Add(Keystroke(edit, 2, false, Qt::Key_Space));
    far.Add(Keystroke(edit, 2, false, Qt::Key_Backspace));
  }
  plain.Print("keystroke, a letter at a line's end:");
  bracket.Print("keystroke, a ) looking 200 lines back for a (:");
  enter.Print("keystroke, Enter (indented, a line more):");
  far.Print("keystroke beside BEGIN, END 5,000 lines away:");

  // Every match of a word highlighted, as the find bar does it when its text changes.
  pane.OpenFind(false);
  for (const char *word : {"WriteLn", "a"}) {
    TStats all;
    int count = 0;
    for (int k = 0; k < 10; ++k) {
      pane.FindBar()->FindField->clear();
      QApplication::processEvents();
      QElapsedTimer h;
      h.start();
      const double cpu = CpuMs();
      pane.FindBar()->FindField->setText(QString::fromLatin1(word));
      QApplication::processEvents();
      edit->viewport()->repaint();
      all.Add({Ms(h), CpuMs() - cpu});
      count = static_cast<int>(edit->Selections(TSelectionLayer::slFindMatches).size());
    }
    char what[80];
    std::snprintf(what, sizeof what, "highlight all matches of \"%s\" (%d):", word, count);
    all.Print(what);
  }
  // Typing while the find bar shows the matches of "a".
  TStats typing;
  for (int k = 0; k < 100; ++k)
    typing.Add(Keystroke(edit, 3 + (k * 53) % (lines - 4), true, Qt::Key_X));
  typing.Print("keystroke with the matches of \"a\" shown:");
  return 0;
}
