// Timing of the editor's syntax colouring on the real Qt editor (offscreen): loading and
// colouring a 5,000-line program, typing one character in it, and opening a comment at its
// top, which recolours every line below.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <cstdio>

#include "QtRichText.h"

namespace {

// A program of the given length; without comments when braces is false.
QString Program(int lines, bool braces = true) {
  const char *body[] = {
      "procedure Step(var a: Integer; b: Real);",
      "var s: String; ok: Boolean;",
      "begin",
      "  { keep the counter in range }",
      "  if (a mod 7 = 0) and not ok then a := a div 2 + 13 else a := a * 3 - 1;",
      "  s := 'line ' + IntToStr(a) + #13#10;",
      "  b := b * 1.5e-3 + Sin(b);",
      "  while a > 100 do begin Dec(a, 10); ok := TRUE end;",
      "  WriteLn(s, b:8:2)",
      "end;",
  };
  QString text;
  for (int i = 0; i < lines; ++i) {
    text += braces || i % 10 != 3 ? QString::fromLatin1(body[i % 10]) : QStringLiteral("  Inc(a);");
    if (i + 1 < lines) text += QLatin1Char('\n');
  }
  return text;
}

double Ms(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int lines = 5000;
  const QString text = Program(lines);

  {
    QTextEdit plain;
    TQtRichText::ConfigureEditor(&plain);
    QElapsedTimer t;
    t.start();
    plain.setPlainText(text);
    std::printf("load %d lines, no colouring:          %8.1f ms\n", lines, Ms(t));
  }

  QTextEdit edit;
  TQtRichText::ConfigureEditor(&edit);
  edit.resize(800, 600);
  edit.show();
  TQtRichText rich(&edit);
  // Time spent in the highlighter's own handler of each document change: the handlers run in
  // the order of connection, so two stopwatches bracket it.
  QElapsedTimer inHandler;
  double handlerMs = 0;
  QObject::connect(edit.document(), &QTextDocument::contentsChange, [&] { inHandler.start(); });
  rich.InitHighlighter();
  QObject::connect(edit.document(), &QTextDocument::contentsChange, [&] { handlerMs += Ms(inHandler); });
  QElapsedTimer t;
  t.start();
  edit.setPlainText(text);
  const double loaded = Ms(t);
  const double colouring = handlerMs;
  t.start();
  rich.RecolorAll();
  const double confirmed = Ms(t);
  std::printf("load %d lines and colour them:        %8.1f ms, of which %.1f ms colouring (%ld lines)"
              " + %.1f ms for the window's RecolorLines over all lines\n",
              lines, loaded + confirmed, colouring, rich.Highlighter().LinesColored() - lines, confirmed);

  t.start();
  rich.RecolorAll();
  std::printf("colour all lines again (no change):     %8.1f ms\n", Ms(t));

  const int keys = 500;
  long before = rich.Highlighter().LinesColored();
  handlerMs = 0;
  t.start();
  for (int k = 0; k < keys; ++k) {
    QTextCursor c(edit.document()->findBlockByNumber((k * 37) % lines));
    c.movePosition(QTextCursor::EndOfBlock);
    edit.setTextCursor(c);
    QTest::keyClick(&edit, Qt::Key_X);
  }
  const double typed = Ms(t);
  const double typedHandler = handlerMs;
  long recoloured = rich.Highlighter().LinesColored() - before;
  // The same keystrokes without a highlighter attached, for comparison.
  QTextEdit bare;
  TQtRichText::ConfigureEditor(&bare);
  bare.resize(800, 600);
  bare.show();
  bare.setPlainText(text);
  t.start();
  for (int k = 0; k < keys; ++k) {
    QTextCursor c(bare.document()->findBlockByNumber((k * 37) % lines));
    c.movePosition(QTextCursor::EndOfBlock);
    bare.setTextCursor(c);
    QTest::keyClick(&bare, Qt::Key_X);
  }
  const double bareTyped = Ms(t);
  std::printf("type one character:                     %8.3f ms per key, of which %.3f ms recolouring"
              " (%.2f lines per key); %.3f ms per key without a highlighter\n",
              typed / keys, typedHandler / keys, double(recoloured) / keys, bareTyped / keys);

  before = rich.Highlighter().LinesColored();
  edit.moveCursor(QTextCursor::Start);
  t.start();
  QTest::keyClick(&edit, Qt::Key_BraceLeft);
  std::printf("type { on the first line:               %8.1f ms (%ld lines recoloured)\n", Ms(t),
              rich.Highlighter().LinesColored() - before);
  before = rich.Highlighter().LinesColored();
  t.start();
  QTest::keyClick(&edit, Qt::Key_Backspace);
  std::printf("delete it again:                        %8.1f ms (%ld lines recoloured)\n", Ms(t),
              rich.Highlighter().LinesColored() - before);

  // The worst case: a text without any comment, where { on the first line turns every line.
  edit.setPlainText(Program(lines, false));
  edit.moveCursor(QTextCursor::Start);
  before = rich.Highlighter().LinesColored();
  handlerMs = 0;
  t.start();
  QTest::keyClick(&edit, Qt::Key_BraceLeft);
  std::printf("type { atop a text without comments:    %8.1f ms, of which %.1f ms recolouring (%ld lines)\n",
              Ms(t), handlerMs, rich.Highlighter().LinesColored() - before);
  before = rich.Highlighter().LinesColored();
  handlerMs = 0;
  t.start();
  QTest::keyClick(&edit, Qt::Key_Backspace);
  std::printf("delete it again:                        %8.1f ms, of which %.1f ms recolouring (%ld lines)\n",
              Ms(t), handlerMs, rich.Highlighter().LinesColored() - before);
  return 0;
}
