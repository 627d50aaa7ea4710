// Breakpoints in the gutter: set by F5 or a click, moved with their lines, kept per file.
#include <QTest>
#include <QTextBlock>

#include "CodeEditor.h"
#include "Gutter.h"
#include "WindowFixture.h"

namespace {

void ClickGutter(TCodeEditor *edit, int line) {
  const QTextBlock block = edit->document()->findBlockByNumber(line);
  QTest::mouseClick(edit->Gutter(), Qt::LeftButton, {},
                    QPoint(2, edit->BlockRect(block).center().y()));
}

void CaretTo(TCodeEditor *edit, int line) {
  QTextCursor caret(edit->document()->findBlockByNumber(line));
  edit->setTextCursor(caret);
}

}  // namespace

TEST_F(WindowTest, BreakpointsToggleByKeyAndClickAndMoveWithTheirLines) {
  WriteBytes(Path("a.pas"), "program a;\nbegin\n  x := 1;\n  y := 2\nend.\n");
  Window->LoadFile(Path("a.pas"));
  TCodeEditor *edit = Window->RichEdit1;
  CaretTo(edit, 2);
  QTest::keyClick(edit, Qt::Key_F5);
  ClickGutter(edit, 3);
  EXPECT_EQ(Window->BreakpointLines(), QList<int>({2, 3}));
  ClickGutter(edit, 2);  // off again
  EXPECT_EQ(Window->BreakpointLines(), QList<int>({3}));
  CaretTo(edit, 0);
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClick(edit, Qt::Key_Return);  // a line above moves the breakpoint down
  EXPECT_EQ(Window->BreakpointLines(), QList<int>({4}));
}

TEST_F(WindowTest, BreakpointsStayWithTheirFileForTheSession) {
  WriteBytes(Path("a.pas"), "begin\n  x := 1\nend.\n");
  WriteBytes(Path("b.pas"), "begin\nend.\n");
  struct TStep {
    const char *Open;  // nullptr: New
    QList<int> Toggle;
    QList<int> Expected;
  };
  const TStep steps[] = {
      {"a.pas", {1, 2}, {1, 2}},
      {"b.pas", {}, {}},
      {"a.pas", {2}, {1}},
      {nullptr, {}, {}},
      {"a.pas", {}, {1}},
  };
  for (const TStep &step : steps) {
    SCOPED_TRACE(step.Open ? step.Open : "New");
    if (step.Open) Window->LoadFile(Path(step.Open));
    else Window->FileNew->trigger();
    for (const int line : step.Toggle) Window->ToggleBreakpointAt(line);
    EXPECT_EQ(Window->BreakpointLines(), step.Expected);
  }
}
