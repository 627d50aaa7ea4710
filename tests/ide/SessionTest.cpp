// What the window keeps between sessions (recent files, zoom, settings that went bad), the
// examples and the Language Guide.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include "CodeEditor.h"
#include "ConsoleWindow.h"
#include "EditorSettings.h"
#include "Examples.h"
#include "FileListMenu.h"
#include "HelpWindow.h"
#include "WindowFixture.h"
#ifdef ULVAN_HAVE_PARSER
#include "UVParser.h"
#endif

TEST_F(WindowTest, RecentFilesNewestFirstAtMostEightAndAMissingOneGoes) {
  QStringList opened;
  for (int i = 1; i <= 10; ++i) {
    const QString name = Path(QStringLiteral("p%1.pas").arg(i));
    WriteBytes(name, "x");
    opened.prepend(name);
    Window->LoadFile(name);
  }
  // Saving counts too, and moves a file up instead of repeating it.
  Window->LoadFile(Path("p5.pas"));
  Window->FileSaveExecute();
  opened.removeAll(Path("p5.pas"));
  opened.prepend(Path("p5.pas"));
  EXPECT_EQ(Window->RecentMenu->Files(), opened.mid(0, 8));
  Recreate({});
  ASSERT_EQ(Window->RecentMenu->Files(), opened.mid(0, 8));
  EXPECT_EQ(Window->RecentMenu->actions().value(1)->text(), "&2 " + Path("p10.pas"));

  Window->RecentMenu->actions().value(2)->trigger();
  EXPECT_EQ(Window->FileName(), Path("p9.pas"));
  QFile::remove(Path("p8.pas"));
  Window->RecentMenu->actions().value(3)->trigger();
  EXPECT_EQ(Window->FileName(), Path("p9.pas"));
  ASSERT_EQ(CallsOf("Warning").size(), 1u);
  EXPECT_TRUE(CallsOf("Warning")[0].Text.contains(Path("p8.pas")));
  EXPECT_FALSE(Window->RecentMenu->Files().contains(Path("p8.pas")));
  EXPECT_EQ(Window->RecentMenu->Files().size(), 7);
}

TEST_F(WindowTest, ZoomReachesTheConsoleAndIsKeptAcrossARestart) {
  auto consoleSize = [&] { return Window->Console()->TextArea()->font().pixelSize(); };
  EXPECT_EQ(Window->RichEdit1->FontPixelSize(), 13);
  Window->ViewZoomIn->trigger();
  Window->ViewZoomIn->trigger();
  Window->ViewZoomOut->trigger();
  EXPECT_EQ(Window->RichEdit1->FontPixelSize(), 14);
  EXPECT_EQ(consoleSize(), 15);
  // Ctrl+wheel, a notch at a time.
  QWheelEvent wheel(QPointF(5, 5), Window->RichEdit1->viewport()->mapToGlobal(QPointF(5, 5)),
                    {}, QPoint(0, 240), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(Window->RichEdit1->viewport(), &wheel);
  EXPECT_EQ(Window->RichEdit1->FontPixelSize(), 16);
  const int gutter = Window->RichEdit1->GutterWidth();
  Recreate({});
  EXPECT_EQ(Window->RichEdit1->FontPixelSize(), 16);
  EXPECT_EQ(consoleSize(), 17);
  EXPECT_EQ(Window->RichEdit1->GutterWidth(), gutter);
  Window->ViewZoomReset->trigger();
  EXPECT_EQ(Window->RichEdit1->FontPixelSize(), 13);
  EXPECT_EQ(consoleSize(), 14);
  for (int i = 0; i < 60; ++i) Window->ViewZoomOut->trigger();
  EXPECT_EQ(Window->RichEdit1->FontPixelSize(), TCodeEditor::MinFontPixelSize);
}

TEST_F(WindowTest, BrokenSettingsGiveTheDefaults) {
  const QString file = UlvanSettings().fileName();
  const struct {
    QByteArray Contents;
    int FontSize;
  } cases[] = {
      {"\x01\x02garbage[[[\n=\n", 13},
      {"[Editor]\nFontPixelSize=huge\nRecentFiles=@Invalid()\n[Find]\nMatchCase=\n"
       "[MainWindow]\nGeometry=@ByteArray(nonsense)\nErrorListHeight=-5\n",
       13},
      {"[Editor]\nFontPixelSize=100000\n", 13},
      {"[Editor]\nFontPixelSize=20\n", 20},  // a good value is read from the same file
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Contents.toStdString());
    Window.reset();
    QDir().mkpath(QFileInfo(file).absolutePath());
    WriteBytes(file, c.Contents);
    Recreate({});
    EXPECT_EQ(Window->RichEdit1->FontPixelSize(), c.FontSize);
    EXPECT_TRUE(Window->RecentMenu->Files().isEmpty());
    EXPECT_GE(Window->ErrorListHeight(), 1);
    EXPECT_TRUE(Dialogs->Calls.empty());
  }
}

TEST_F(WindowTest, ExampleOpensAsAnUnsavedCopyThatRunAsksToSave) {
  const QStringList examples = Window->ExamplesMenu->Files();
  ASSERT_TRUE(examples.contains(QStringLiteral(ULVAN_SOURCE_DIR "/examples/hello.pas")));
  const QString guess = QStringLiteral(ULVAN_SOURCE_DIR "/examples/guess.pas");
  ASSERT_TRUE(examples.contains(guess));
  Window->ExamplesMenu->actions().value(static_cast<int>(examples.indexOf(guess)))->trigger();
  ExpectState(TUVIDEMain::Untitled, true, true);
  EXPECT_EQ(Window->EditorText().toUtf8(), ReadBytes(guess));
  Dialogs->FileNames = {Path("mine.pas")};
  Window->FileRun->trigger();
  ASSERT_EQ(CallsOf("Save").size(), 1u);
  EXPECT_EQ(CallsOf("Save")[0].Text, "guess.pas");
  EXPECT_EQ(ReadBytes(Path("mine.pas")), ReadBytes(guess));
  EXPECT_EQ(ReadBytes(guess).isEmpty(), false);
}

TEST(Examples, FoundBesideAnInstalledProgram) {
  QTemporaryDir root;
  QDir(root.path()).mkpath("bin");
  QDir(root.path()).mkpath("share/ulvan/examples");
  for (const char *name : {"b.pas", "a.pas", "notes.txt"})
    QFile(root.filePath(QStringLiteral("share/ulvan/examples/") + name)).open(QIODevice::WriteOnly);
  const QString folder = ExamplesFolder(root.filePath("bin"));
  EXPECT_EQ(folder, root.filePath("share/ulvan/examples"));
  EXPECT_EQ(ExampleFiles(folder), QStringList({folder + "/a.pas", folder + "/b.pas"}));
  // A program elsewhere, outside the build tree, has none.
  EXPECT_EQ(ExamplesFolder(root.path()), QString());
}

TEST_F(WindowTest, F1OnABuiltInRoutineOpensItsEntry) {
  Window->RichEdit1->setPlainText("begin\n  WriteLn(IntToStr(Random(6)))\nend.");
  const struct {
    int Column;
    const char *Heading;
  } cases[] = {{4, "WriteLn"}, {11, "IntToStr"}, {23, "Random"}, {2, "WriteLn"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Heading);
    QTextCursor caret(Window->RichEdit1->document()->findBlockByNumber(1));
    caret.setPosition(caret.position() + c.Column);
    Window->RichEdit1->setTextCursor(caret);
    Window->RichEdit1->setFocus();
    QTest::keyClick(Window->RichEdit1, Qt::Key_F1);
    THelpWindow *guide = Window->GuideWindow();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    EXPECT_EQ(guide->Entries()[static_cast<std::size_t>(guide->CurrentEntry())].Title, c.Heading);
    EXPECT_EQ(guide->Topics->currentRow(), guide->CurrentEntry());
    EXPECT_EQ(guide->Text->textCursor().block().text(), c.Heading);
  }
  // The search keeps the entries that hold the words.
  THelpWindow *guide = Window->GuideWindow();
  guide->SearchField->setText("radians");
  std::vector<std::string> found;
  for (int i : guide->VisibleEntries()) found.push_back(guide->Entries()[static_cast<std::size_t>(i)].Title);
  EXPECT_EQ(found, (std::vector<std::string>{"Sin", "Cos", "ArcTan"}));
  QTest::keyClick(guide->SearchField, Qt::Key_Return);
  EXPECT_EQ(guide->Entries()[static_cast<std::size_t>(guide->CurrentEntry())].Title, "Sin");
}

#ifdef ULVAN_HAVE_PARSER
TEST(LanguageGuide, HasAnEntryForEveryBuiltInRoutineAndType) {
  THelpWindow guide;
  std::vector<std::string> words = BuiltInRoutineNames();
  ASSERT_FALSE(words.empty());
  for (const char *type : {"Integer", "Real", "Boolean", "String", "Pointer", "ARRAY", "RECORD"})
    words.push_back(type);
  for (const std::string &word : words) {
    const int entry = FindGuideEntry(guide.Entries(), word);
    ASSERT_GE(entry, 0) << word;
    EXPECT_EQ(guide.Entries()[static_cast<std::size_t>(entry)].Level, 3) << word;
  }
  // Each entry leads to its own heading in the shown text.
  for (std::size_t i = 0; i < guide.Entries().size(); ++i) {
    guide.ShowEntry(static_cast<int>(i));
    EXPECT_EQ(guide.Text->textCursor().block().text().toStdString(), guide.Entries()[i].Title);
  }
}
#endif
