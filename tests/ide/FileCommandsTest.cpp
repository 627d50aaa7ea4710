// New, Open, Save, Save As, loading, closing and the command-line file, with the state of
// FileName, the modified flag and Save after every step.
#include <QAction>
#include <QDir>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>

#include "QtRichText.h"
#include "WindowFixture.h"

TEST_F(WindowTest, StateTableHoldsAfterEveryEvent) {
  const QString a = Path("a.pas"), b = Path("b.pas");
  WriteBytes(a, "program A;\nbegin\nend.\n");
  ExpectState("Untitled", false, true);  // start

  Type("x");  // any edit
  ExpectState("Untitled", true, true);

  Dialogs->FileNames = {b};  // save of an untitled text goes through Save As
  Window->FileSave->trigger();
  EXPECT_EQ(CallsOf("Save")[0].Text, "");  // no name to propose
  ExpectState(b, false, false);
  EXPECT_EQ(ReadBytes(b), "x");

  Type("y");
  ExpectState(b, true, true);
  Window->FileSave->trigger();
  ExpectState(b, false, false);
  EXPECT_EQ(ReadBytes(b), "xy");

  Window->FileNew->trigger();  // nothing to ask about
  ExpectState("Untitled", false, true);
  EXPECT_EQ(Window->EditorText(), "");

  Window->LoadFile(a);  // successful load
  ExpectState(a, false, false);
  EXPECT_EQ(Window->EditorText(), "program A;\nbegin\nend.\n");
  EXPECT_EQ(Window->statusBar()->currentMessage(), "");
  EXPECT_EQ(Window->RichEdit1->textCursor().position(), 0);

  Type("z");
  ExpectState(a, true, true);
  Dialogs->Answers = {TAnswer::anNo};
  Window->FileNew->trigger();
  ExpectState("Untitled", false, true);
  EXPECT_EQ(CallsOf("YesNoCancel").size(), 1u);
}

TEST_F(WindowTest, FailedLoadKeepsTheFileAndReportsIt) {
  const QString a = Path("a.pas"), missing = Path("missing.pas");
  WriteBytes(a, "begin end.");
  Window->LoadFile(a);
  Dialogs->FileNames = {missing};
  Window->FileOpen->trigger();
  EXPECT_EQ(CallsOf("Open")[0].Text, Dir.path());  // starts in the file's folder
  ExpectState(a, false, false);
  EXPECT_EQ(Window->EditorText(), "begin end.");
  EXPECT_EQ(Window->statusBar()->currentMessage(), "Could not load file");
  const auto errors = CallsOf("Error");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].Caption, "Ulvan");
  EXPECT_EQ(errors[0].Text, "Cannot open file " + missing + ": No such file or directory.");
}

TEST_F(WindowTest, NewAndOpenAskAboutUnsavedChanges) {
  const QString a = Path("a.pas"), b = Path("b.pas");
  WriteBytes(a, "A");
  WriteBytes(b, "B");
  struct TCase {
    const char *Name;
    bool Named;        // the edited text has a file
    TAnswer Answer;
    QString SaveAsName;  // for an untitled text answered Yes; empty cancels
    bool Opened;
  };
  const TCase cases[] = {
      {"cancel", true, TAnswer::anCancel, {}, false},
      {"no", true, TAnswer::anNo, {}, true},
      {"yes saves", true, TAnswer::anYes, {}, true},
      {"yes, save as cancelled", false, TAnswer::anYes, {}, false},
      {"yes, saved as", false, TAnswer::anYes, Path("c.pas"), true},
  };
  for (const bool open : {true, false})
  for (const TCase &c : cases) {
    SCOPED_TRACE(std::string(open ? "Open, " : "New, ") + c.Name);
    QFile::remove(Path("c.pas"));
    Recreate({});
    if (c.Named) Window->LoadFile(a);
    Type("!");
    Dialogs->Answers = {c.Answer};
    if (!c.Named && c.Answer == TAnswer::anYes) Dialogs->FileNames.push_back(c.SaveAsName);
    if (c.Opened && open) Dialogs->FileNames.push_back(b);
    (open ? Window->FileOpen : Window->FileNew)->trigger();
    ASSERT_FALSE(Dialogs->Calls.empty());
    EXPECT_EQ(Dialogs->Calls[0].Kind, "YesNoCancel");
    EXPECT_EQ(Dialogs->Calls[0].Text, QStringLiteral("Do you wish to save changes you made to %1?")
                                          .arg(c.Named ? "a.pas" : "Untitled"));
    const QString opened = open ? b : QString("Untitled");
    EXPECT_EQ(Window->FileName(), c.Opened ? opened : (c.Named ? a : QString("Untitled")));
    EXPECT_EQ(Window->Modified(), !c.Opened);
    if (c.Opened) {
      EXPECT_EQ(Window->EditorText(), open ? "B" : "");
    }
    if (c.Named) {
      EXPECT_EQ(ReadBytes(a), c.Answer == TAnswer::anYes ? "!A" : "A");
    }
    if (!c.SaveAsName.isEmpty()) {
      EXPECT_EQ(ReadBytes(c.SaveAsName), "!");
    }
    EXPECT_TRUE(Dialogs->FileNames.empty());
    WriteBytes(a, "A");
  }
}

TEST_F(WindowTest, SaveAsAsksBeforeOverwriting) {
  const QString old = Path("old.pas");
  WriteBytes(old, "old text");
  Type("new text");
  Dialogs->FileNames = {old};
  Dialogs->Answers = {TAnswer::anCancel};
  Window->FileSaveAs->trigger();
  ASSERT_EQ(CallsOf("OkCancel").size(), 1u);
  EXPECT_EQ(CallsOf("OkCancel")[0].Text, "OK to overwrite " + old + "?");
  EXPECT_EQ(ReadBytes(old), "old text");
  ExpectState("Untitled", true, true);

  Dialogs->FileNames = {old};
  Dialogs->Answers = {TAnswer::anOk};
  Window->FileSaveAs->trigger();
  EXPECT_EQ(ReadBytes(old), "new text");
  ExpectState(old, false, false);

  Dialogs->FileNames = {QString()};  // cancelled dialog
  Window->FileSaveAs->trigger();
  ExpectState(old, false, false);
}

TEST_F(WindowTest, FailedSaveKeepsTheTextModifiedAndSaysWhy) {
  ASSERT_TRUE(QDir(Dir.path()).mkpath("dir.pas"));
  Type("text");
  Dialogs->FileNames = {Path("dir.pas")};  // a folder where the file should be
  Dialogs->Answers = {TAnswer::anOk};
  Window->FileSaveAs->trigger();
  ExpectState("Untitled", true, true);

  ASSERT_TRUE(QDir(Dir.path()).mkpath("gone"));
  WriteBytes(Path("gone/a.pas"), "A");
  Window->LoadFile(Path("gone/a.pas"));
  Type("!");
  ASSERT_TRUE(QDir(Path("gone")).removeRecursively());  // the folder went after loading
  Window->FileSave->trigger();
  ExpectState(Path("gone/a.pas"), true, true);

  const auto errors = CallsOf("Error");
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].Text, "Cannot create file " + Path("dir.pas") + ": Is a directory.");
  EXPECT_EQ(errors[1].Text,
            "Cannot create file " + Path("gone/a.pas") + ": No such file or directory.");
  EXPECT_TRUE(Window->isVisible());
}

TEST_F(WindowTest, SaveAsProposesTheNameAndRefusesAFolderThatDoesNotExist) {
  const QString a = Path("a.pas"), lost = Path("no/such/x.pas"), inFile = Path("a.pas/x.pas");
  WriteBytes(a, "A");
  Window->LoadFile(a);
  Type("!");
  Dialogs->FileNames = {lost, inFile, QString()};
  Window->FileSaveAs->trigger();
  const std::vector<std::pair<QString, QString>> expected = {
      {"Save", a},
      {"Warning", "The folder " + Path("no/such") + " does not exist."},
      {"Save", lost},
      {"Warning", "The folder " + a + " does not exist."},
      {"Save", inFile},
  };
  ASSERT_EQ(Dialogs->Calls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(Dialogs->Calls[i].Kind, expected[i].first);
    EXPECT_EQ(Dialogs->Calls[i].Text, expected[i].second);
  }
  ExpectState(a, true, true);
  EXPECT_EQ(ReadBytes(a), "A");
}

TEST_F(WindowTest, FilesComeBackByteForByte) {
  struct TCase {
    const char *Name;
    QByteArray Bytes;
    QByteArray Saved;
    TTextEncoding Encoding;
  };
  const TCase cases[] = {
      {"utf-8 with LF", "program \xc3\xa9t\xc3\xa9;\n\tbegin\nend.\n", {}, TTextEncoding::teUtf8},
      {"no final line end", "begin\nend.", {}, TTextEncoding::teUtf8},
      {"byte order mark", "\xef\xbb\xbf" "begin end.\n", {}, TTextEncoding::teUtf8},
      {"no-break space", "a\xc2\xa0" "b\n", {}, TTextEncoding::teUtf8},
      {"latin-1", "writeln('\xe9\xa0\xff');\n", {}, TTextEncoding::teLatin1},
      {"empty", "", {}, TTextEncoding::teUtf8},
      {"CR LF and CR become LF", "a\r\nb\rc\n", "a\nb\nc\n", TTextEncoding::teUtf8},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Name);
    const QString in = Path("in.pas"), out = Path("out.pas");
    WriteBytes(in, c.Bytes);
    QFile::remove(out);
    Window->LoadFile(in);
    EXPECT_EQ(Window->Encoding(), c.Encoding);
    Dialogs->FileNames = {out};
    Window->FileSaveAs->trigger();
    EXPECT_EQ(ReadBytes(out), c.Saved.isNull() ? c.Bytes : c.Saved);
  }
}

TEST_F(WindowTest, LatinOneTextWithNewCharactersIsSavedAsUtf8) {
  const QString path = Path("latin.pas");
  WriteBytes(path, "x := '\xe9';\n");
  Window->LoadFile(path);
  Window->RichEdit1->moveCursor(QTextCursor::End);
  Window->RichEdit1->insertPlainText(QString::fromUtf8("{\xe2\x82\xac}"));
  Window->FileSave->trigger();
  EXPECT_EQ(ReadBytes(path), "x := '\xc3\xa9';\n{\xe2\x82\xac}");
  EXPECT_EQ(Window->Encoding(), TTextEncoding::teUtf8);
}

TEST_F(WindowTest, CloseQueryAnswers) {
  const QString a = Path("a.pas");
  struct TCase {
    const char *Name;
    bool Edit;
    bool Named;
    std::deque<TAnswer> Answers;
    std::deque<QString> Names;
    bool Closes;
  };
  const TCase cases[] = {
      {"unchanged closes at once", false, true, {}, {}, true},
      {"no", true, true, {TAnswer::anNo}, {}, true},
      {"cancel", true, true, {TAnswer::anCancel}, {}, false},
      {"yes saves", true, true, {TAnswer::anYes}, {}, true},
      {"yes, save as cancelled", true, false, {TAnswer::anYes}, {QString()}, false},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Name);
    WriteBytes(a, "A");
    Recreate({});
    if (c.Named) Window->LoadFile(a);
    if (c.Edit) Type("!");
    Dialogs->Answers = c.Answers;
    Dialogs->FileNames = c.Names;
    Window->FileExit->trigger();
    EXPECT_EQ(Window->isVisible(), !c.Closes);
    EXPECT_EQ(CallsOf("YesNoCancel").size(), c.Edit ? 1u : 0u);
    if (c.Named && c.Answers == std::deque<TAnswer>{TAnswer::anYes}) {
      EXPECT_EQ(ReadBytes(a), "!A");
    }
  }
}

TEST_F(WindowTest, CommandLineFileIsLoadedOnFirstShowingOnly) {
  const QString a = Path("a.pas");
  WriteBytes(a, "begin end.");
  Recreate(a);
  EXPECT_TRUE(Window->CommandLineLoaded());
  ExpectState(a, false, false);
  Type("!");
  Window->hide();
  Window->show();
  EXPECT_EQ(Window->EditorText(), "!begin end.");

  Recreate(Path("new.pas"));  // a new file: an empty text with that name, saved there
  EXPECT_TRUE(Window->CommandLineLoaded());
  ExpectState(Path("new.pas"), false, true);
  Type("x");
  Window->FileSave->trigger();
  EXPECT_EQ(ReadBytes(Path("new.pas")), "x");
  EXPECT_TRUE(Dialogs->Calls.empty());

  Recreate(Path("no/new.pas"));  // in a folder that does not exist
  ExpectState("Untitled", false, true);
  ASSERT_EQ(CallsOf("Error").size(), 1u);
  EXPECT_EQ(CallsOf("Error")[0].Text,
            "Cannot open file " + Path("no/new.pas") + ": No such file or directory.");
}

TEST_F(WindowTest, LoadedAndTypedTextIsColoured) {
  WriteBytes(Path("c.pas"), "begin\n  x := 1\nend.\n");
  Window->LoadFile(Path("c.pas"));
  QTextDocument *doc = Window->RichEdit1->document();
  const auto first = TQtRichText::DisplayedLine(doc->findBlockByNumber(0));
  ASSERT_EQ(first.size(), 5u);
  EXPECT_EQ(first[0].Style, fsBold);
  EXPECT_EQ(first[0].Color, RGB(0, 0, 128));
  ExpectState(Path("c.pas"), false, false);  // colouring is no edit

  Window->RichEdit1->moveCursor(QTextCursor::Start);
  Type("{");
  const auto third = TQtRichText::DisplayedLine(doc->findBlockByNumber(2));
  ASSERT_FALSE(third.empty());
  EXPECT_EQ(third[0].Color, RGB(0, 128, 0));
  EXPECT_EQ(third[0].Style, fsItalic);
}
