// The editor window, continued: the editor's commands (Undo, Redo, Select All, find and
// replace, Go to Line, zoom), the Language Guide, the recent files and the examples, and the
// caret's place in the status bar.
#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextBlock>

#include "CodeEditor.h"
#include "CommandIcons.h"
#include "ConsoleWindow.h"
#include "EditorPane.h"
#include "Examples.h"
#include "FileListMenu.h"
#include "FindBar.h"
#include "HelpWindow.h"
#include "SourceText.h"
#include "frmUVIDEMain.h"

void TUVIDEMain::CreateEditorActions() {
  const QStyle *s = style();
  auto key = [](QKeyCombination combination) { return QKeySequence(combination); };
  EditUndo = MakeAction(this, "EditUndo", QStringLiteral("&Undo"), QStringLiteral("Undo"),
                        QStringLiteral("Takes back the last change"), {key(Qt::CTRL | Qt::Key_Z)},
                        TCommandIcon::ciUndo, s);
  EditRedo = MakeAction(this, "EditRedo", QStringLiteral("&Redo"), QStringLiteral("Redo"),
                        QStringLiteral("Makes the last change taken back again"),
                        {key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), key(Qt::CTRL | Qt::Key_Y)},
                        TCommandIcon::ciRedo, s);
  EditSelectAll = MakeAction(this, "EditSelectAll", QStringLiteral("Select &All"),
                             QStringLiteral("Select All"), QStringLiteral("Selects the whole text"),
                             {key(Qt::CTRL | Qt::Key_A)}, TCommandIcon::ciNone, s);
  EditFind = MakeAction(this, "EditFind", QStringLiteral("&Find..."), QStringLiteral("Find"),
                        QStringLiteral("Finds a text"), {key(Qt::CTRL | Qt::Key_F)},
                        TCommandIcon::ciNone, s);
  EditFindNext = MakeAction(this, "EditFindNext", QStringLiteral("Find &Next"),
                            QStringLiteral("Find Next"),
                            QStringLiteral("Finds the next place of the text"), {key(Qt::Key_F3)},
                            TCommandIcon::ciNone, s);
  EditFindPrevious = MakeAction(this, "EditFindPrevious", QStringLiteral("Find Pre&vious"),
                                QStringLiteral("Find Previous"),
                                QStringLiteral("Finds the previous place of the text"),
                                {key(Qt::SHIFT | Qt::Key_F3)}, TCommandIcon::ciNone, s);
  EditReplace = MakeAction(this, "EditReplace", QStringLiteral("R&eplace..."),
                           QStringLiteral("Replace"), QStringLiteral("Replaces a text by another"),
                           {key(Qt::CTRL | Qt::Key_H)}, TCommandIcon::ciNone, s);
  EditGoToLine = MakeAction(this, "EditGoToLine", QStringLiteral("&Go to Line..."),
                            QStringLiteral("Go to Line"),
                            QStringLiteral("Moves the caret to a line of the text"),
                            {key(Qt::CTRL | Qt::Key_G)}, TCommandIcon::ciNone, s);
  ViewZoomIn = MakeAction(this, "ViewZoomIn", QStringLiteral("Zoom &In"), QStringLiteral("Zoom In"),
                          QStringLiteral("Makes the text larger"),
                          {key(Qt::CTRL | Qt::Key_Plus), key(Qt::CTRL | Qt::Key_Equal)},
                          TCommandIcon::ciNone, s);
  ViewZoomOut = MakeAction(this, "ViewZoomOut", QStringLiteral("Zoom &Out"),
                           QStringLiteral("Zoom Out"), QStringLiteral("Makes the text smaller"),
                           {key(Qt::CTRL | Qt::Key_Minus)}, TCommandIcon::ciNone, s);
  ViewZoomReset = MakeAction(this, "ViewZoomReset", QStringLiteral("&Actual Size"),
                             QStringLiteral("Actual Size"),
                             QStringLiteral("Gives the text its usual size"),
                             {key(Qt::CTRL | Qt::Key_0)}, TCommandIcon::ciNone, s);
  HelpGuide = MakeAction(this, "HelpGuide", QStringLiteral("&Language Guide"),
                         QStringLiteral("Language Guide"),
                         QStringLiteral("Explains the language; F1 on a word shows its entry"),
                         {key(Qt::Key_F1)}, TCommandIcon::ciNone, s);
  for (QAction *action : {EditUndo, EditRedo, EditSelectAll, EditFind, EditFindNext,
                          EditFindPrevious, EditReplace, EditGoToLine, ViewZoomIn, ViewZoomOut,
                          ViewZoomReset, HelpGuide})
    addAction(action);

  RecentMenu = new TFileListMenu(QStringLiteral("&Recent Files"),
                                 TFileListMenu::TLabels::flNumberedPaths, this);
  RecentMenu->menuAction()->setStatusTip(QStringLiteral("Opens a file opened or saved lately"));
  ExamplesMenu = new TFileListMenu(QStringLiteral("&Examples"), TFileListMenu::TLabels::flNames, this);
  ExamplesMenu->menuAction()->setStatusTip(QStringLiteral("Opens a copy of an example program"));
}

void TUVIDEMain::ConnectEditor() {
  auto guarded = [this](void (TUVIDEMain::*handler)()) {
    return [this, handler] { Guarded([this, handler] { (this->*handler)(); }); };
  };
  connect(EditUndo, &QAction::triggered, RichEdit1, &QTextEdit::undo);
  connect(EditRedo, &QAction::triggered, RichEdit1, &QTextEdit::redo);
  connect(RichEdit1, &QTextEdit::undoAvailable, EditUndo, &QAction::setEnabled);
  connect(RichEdit1, &QTextEdit::redoAvailable, EditRedo, &QAction::setEnabled);
  EditUndo->setEnabled(RichEdit1->document()->isUndoAvailable());
  EditRedo->setEnabled(RichEdit1->document()->isRedoAvailable());
  connect(EditSelectAll, &QAction::triggered, this, [this] {
    QWidget *focus = QApplication::focusWidget();
    if (auto *line = qobject_cast<QLineEdit *>(focus)) line->selectAll();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(focus)) plain->selectAll();
    else RichEdit1->selectAll();
  });
  connect(EditFind, &QAction::triggered, EditorPane, [this] { EditorPane->OpenFind(false); });
  connect(EditReplace, &QAction::triggered, EditorPane, [this] { EditorPane->OpenFind(true); });
  connect(EditFindNext, &QAction::triggered, EditorPane, &TEditorPane::FindNext);
  connect(EditFindPrevious, &QAction::triggered, EditorPane, &TEditorPane::FindPrevious);
  connect(EditGoToLine, &QAction::triggered, this, guarded(&TUVIDEMain::EditGoToLineExecute));
  connect(ViewZoomIn, &QAction::triggered, RichEdit1, [this] { RichEdit1->ZoomBy(1); });
  connect(ViewZoomOut, &QAction::triggered, RichEdit1, [this] { RichEdit1->ZoomBy(-1); });
  connect(ViewZoomReset, &QAction::triggered, RichEdit1,
          [this] { RichEdit1->SetFontPixelSize(TCodeEditor::DefaultFontPixelSize); });
  connect(HelpGuide, &QAction::triggered, this, guarded(&TUVIDEMain::HelpGuideExecute));
  connect(RecentMenu, &TFileListMenu::FileChosen, this,
          [this](const QString &path) { Guarded([&] { OpenRecentFile(path); }); });
  connect(ExamplesMenu, &TFileListMenu::FileChosen, this,
          [this](const QString &path) { Guarded([&] { OpenExample(path); }); });

  connect(EditorPane, &TEditorPane::Message, this,
          [this](const QString &text) { statusBar()->showMessage(text); });
  EditorPane->FindBar()->SetOptions(Settings.FindOptions());
  connect(EditorPane, &TEditorPane::FindOptionsChanged, this,
          [this](TFindOptions options) { Settings.SetFindOptions(options); });

  CaretPosition = new QLabel(this);
  CaretPosition->setObjectName(QStringLiteral("CaretPosition"));
  statusBar()->addPermanentWidget(CaretPosition);
  connect(RichEdit1, &QTextEdit::cursorPositionChanged, this, [this] { ShowCaretPosition(); });
  ShowCaretPosition();

  connect(RichEdit1, &TCodeEditor::FontPixelSizeChanged, this, &TUVIDEMain::FontSizeChanged);
  const int pixels = Settings.FontPixelSize(TCodeEditor::DefaultFontPixelSize,
                                            TCodeEditor::MinFontPixelSize,
                                            TCodeEditor::MaxFontPixelSize);
  RichEdit1->SetFontPixelSize(pixels);
  Console()->SetFontPixelSize(pixels + TConsoleWindow::DefaultFontPixelSize -
                              TCodeEditor::DefaultFontPixelSize);

  RecentMenu->SetFiles(Settings.RecentFiles());
  SetExamplesFolder(ExamplesFolder());
}

void TUVIDEMain::ShowCaretPosition() {
  const QTextCursor caret = RichEdit1->textCursor();
  CaretPosition->setText(QStringLiteral("Line %1, Col %2")
                             .arg(caret.blockNumber() + 1)
                             .arg(caret.positionInBlock() + 1));
}

void TUVIDEMain::FontSizeChanged(int pixels) {
  // The console keeps its font a step larger than the editor's, as they start.
  Console()->SetFontPixelSize(pixels + TConsoleWindow::DefaultFontPixelSize -
                              TCodeEditor::DefaultFontPixelSize);
  Settings.SetFontPixelSize(pixels);
}

void TUVIDEMain::EditGoToLineExecute() {
  const int count = std::max(RichEdit1->document()->blockCount(), 1);
  int line = RichEdit1->textCursor().blockNumber() + 1;
  if (!Dialogs->AskLineNumber(line, count, line)) return;
  // In 64 bits, so that any number given can be made a line index.
  RichEdit1->GoToLine(static_cast<int>(std::clamp(static_cast<long long>(line) - 1, 0LL,
                                                  static_cast<long long>(count - 1))));
}

void TUVIDEMain::HelpGuideExecute() {
  if (Guide == nullptr) Guide = new THelpWindow(this);
  const QString word = RichEdit1->hasFocus() ? RichEdit1->WordAtCaret() : QString();
  Guide->ShowWord(word);
}

void TUVIDEMain::RememberFile(const QString &path) {
  Settings.AddRecentFile(path);
  RecentMenu->SetFiles(Settings.RecentFiles());
}

void TUVIDEMain::OpenRecentFile(const QString &path) {
  if (Running) return;
  if (!QFileInfo(path).isFile()) {
    Settings.RemoveRecentFile(path);
    RecentMenu->SetFiles(Settings.RecentFiles());
    Dialogs->Warning(QStringLiteral("Recent Files"),
                     QStringLiteral("%1 no longer exists; it has been taken off the list.").arg(path));
    return;
  }
  if (QuerySaveChanges()) LoadFile(path);
}

void TUVIDEMain::OpenExample(const QString &path) {
  if (Running || !QuerySaveChanges()) return;
  const TSourceText source = DecodeSource(ReadFileBytes(path));
  StartNewText();
  RichEdit1->setPlainText(source.Text);
  RichEdit1->moveCursor(QTextCursor::Start);
  ProposedName = QFileInfo(path).fileName();
  // A new text that was never saved: closing asks about it, and Run asks where to save it.
  SetModified(true);
  UpdateCaption();
  RichEdit1->setFocus();
}

void TUVIDEMain::SetExamplesFolder(const QString &folder) {
  ExamplesMenu->SetFiles(ExampleFiles(folder));
}
