// Run with the real compiler and machine: an example program, and a program with an error.
#ifdef ULVAN_HAVE_PARSER

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextBlock>
#include <QTest>
#include <QTextEdit>

#include "ConsoleWindow.h"
#include "LineMarker.h"
#include "RealCompilerFixture.h"


TEST_F(RealCompilerTest, RunsTheHelloExample) {
  const QString hello = Path("hello.pas");
  ASSERT_TRUE(QFile::copy(ULVAN_SOURCE_DIR "/examples/hello.pas", hello));
  Window->LoadFile(hello);
  Window->FileRun->trigger();
  EXPECT_TRUE(Dialogs->Calls.empty());
  EXPECT_EQ(Window->lstErrors->count(), 0);
  EXPECT_EQ(Window->ErrorListShownHeight(), 0);
  EXPECT_EQ(Window->Console()->ScreenText(), "Hello, world!\n");
  EXPECT_TRUE(ReadBytes(Path("hello.uvc")).startsWith("Program name: Hello\r\n"));
}

TEST_F(RealCompilerTest, ErrorIsListedAndLeadsToItsLine) {
  const QString bad = Path("bad (1).pas");
  WriteBytes(bad, "program Bad;\nvar i: Integer;\nbegin\n  i := 1\n  i := 2\nend.\n");
  Window->LoadFile(bad);
  Window->FileRun->trigger();
  ASSERT_GE(Window->lstErrors->count(), 1);
  const QString first = Window->lstErrors->item(0)->text();
  EXPECT_TRUE(first.startsWith("[Error] bad (1).pas(5): ")) << first.toStdString();
  EXPECT_EQ(Window->Console()->OpenCount(), 0);
  EXPECT_TRUE(QFile::exists(Path("bad (1).uvc")));
  // The failed compile put the caret on the first error's line and named the usual mistake.
  EXPECT_EQ(Window->lstErrors->currentRow(), 0);
  EXPECT_EQ(Window->RichEdit1->textCursor().blockNumber(), 4);
  EXPECT_TRUE(Window->statusBar()->currentMessage().contains(" - Put a ; between"));
  // A double click reads the first parentheses of the item, here those of the file name.
  Window->lstErrorsDblClick();
  EXPECT_EQ(Window->RichEdit1->textCursor().blockNumber(), 0);
}

TEST_F(RealCompilerTest, RunTimeErrorIsShownAtItsLine) {
  const QString demo = Path("demo.pas");
  WriteBytes(demo,
             "program Demo;\nvar r: Integer;\n\nfunction Average(sum, count: Integer): Integer;\n"
             "begin\n  Average := sum div count\nend;\n\nbegin\n  WriteLn('Start');\n"
             "  r := Average(10, 0);\n  WriteLn(IntToStr(r))\nend.\n");
  Window->LoadFile(demo);
  Window->FileRun->trigger();
  ASSERT_EQ(Dialogs->Calls.size(), 1u);
  EXPECT_EQ(Dialogs->Calls[0].Text, "Division by zero.\nLine 6, in Average");
  EXPECT_EQ(Window->RichEdit1->textCursor().blockNumber(), 5);
  EXPECT_EQ(Window->Marker()->MarkedLine(), 5);
  EXPECT_EQ(Window->Marker()->MarkedKind(), TLineMarkKind::lmRunError);
  EXPECT_EQ(Window->statusBar()->currentMessage(), "Run-time error in line 6");
  TConsoleWindow *console = Window->Console();
  EXPECT_EQ(console->ScreenText(), "Start\n");
  EXPECT_EQ(console->TextArea()->document()->lastBlock().text(),
            "Run-time error in line 6: Division by zero.");
  EXPECT_EQ(console->windowTitle(), "Demo - run-time error");
}

#endif
