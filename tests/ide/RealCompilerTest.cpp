// Run with the real compiler and machine: an example program, and a program with an error.
#ifdef ULVAN_HAVE_PARSER

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>

#include "ConsoleWindow.h"
#include "WindowFixture.h"

class RealCompilerTest : public WindowTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Window = std::make_unique<TUVIDEMain>([] { return NewParser(); });
    auto dialogs = std::make_unique<TScriptedDialogs>();
    Dialogs = dialogs.get();
    Window->SetDialogs(std::move(dialogs));
    Window->show();
  }
};

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
  EXPECT_TRUE(Window->statusBar()->currentMessage().startsWith("Put a ; between"));
  // A double click reads the first parentheses of the item, here those of the file name.
  Window->lstErrorsDblClick();
  EXPECT_EQ(Window->RichEdit1->textCursor().blockNumber(), 0);
}

#endif
