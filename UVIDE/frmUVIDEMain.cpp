// The editor window: construction, file commands, Run, the diagnostics list and closing.
#include "frmUVIDEMain.h"

#include <algorithm>
#include <exception>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include "CallTrace.h"
#include "CodeEditor.h"
#include "CommandIcons.h"
#include "ConsoleWindow.h"
#include "DiagnosticList.h"
#include "EditorPane.h"
#include "FileListMenu.h"
#include "Interpreter.h"
#include "LineMarker.h"
#include "ListingName.h"
#include "MailSender.h"
#include "QtRichText.h"
#include "WindowPlacement.h"
#include "frmUVAbout.h"

namespace {

// Runs the edit operation on the focused edit control, if any.
template <typename TOperation>
void OnFocusedEdit(TOperation operation) {
  QWidget *focus = QApplication::focusWidget();
  if (auto *edit = qobject_cast<QTextEdit *>(focus)) operation(edit);
  else if (auto *plain = qobject_cast<QPlainTextEdit *>(focus)) operation(plain);
  else if (auto *line = qobject_cast<QLineEdit *>(focus)) operation(line);
}

// The folder of the edited file, where the file dialogs start; empty for an untitled text.
QString FolderOf(const QString &fileName) {
  return fileName == TUVIDEMain::Untitled ? QString() : QFileInfo(fileName).absolutePath();
}

bool FocusedEditHasSelection() {
  QWidget *focus = QApplication::focusWidget();
  if (auto *edit = qobject_cast<QTextEdit *>(focus)) return edit->textCursor().hasSelection();
  if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
    return plain->textCursor().hasSelection();
  if (auto *line = qobject_cast<QLineEdit *>(focus)) return line->hasSelectedText();
  return false;
}

}  // namespace

TUVIDEMain::TUVIDEMain(TParserFactory parserFactory, QString commandLineFile, QWidget *parent)
    : QMainWindow(parent),
      ParserFactory(std::move(parserFactory)),
      CommandLineFile(std::move(commandLineFile)),
      Dialogs(std::make_unique<TQtUserDialogs>(this)),
      ConsoleWindow(std::make_unique<TConsoleWindow>(this)),
      Interpreter(std::make_unique<TUVCInterpreter>(ConsoleWindow.get())) {
  ConsoleWindow->SetStopHandler([this] { FileStopExecute(); });
  setObjectName(QStringLiteral("frmUVIDEMain"));
  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateEditor();
  statusBar()->setObjectName(QStringLiteral("StatusBar"));
  resize(PageWindowSize(*this, *RichEdit1, 40, 100));
  ErrorListHeightValue = RestorePlacement(*this, ErrorListHeightValue);
  Mail = new TMailSender(this);
  connect(Mail, &TMailSender::Finished, this, &TUVIDEMain::MailFinished);
  UpdateCaption();
  AboutBoxWidget = new TAboutBox(this);
  FormCreate();
  ConnectEditor();
}

TUVIDEMain::~TUVIDEMain() {
  // The children go after this body; their focus changes must not reach the half-gone window.
  disconnect(qApp, nullptr, this, nullptr);
  disconnect(QApplication::clipboard(), nullptr, this, nullptr);
  if (Mail->IsBusy()) QApplication::restoreOverrideCursor();
  // FormDestroy
  if (RichText) RichText->DoneHighlighter();
  RichText.reset();
  Interpreter.reset();
}

void TUVIDEMain::SetDialogs(std::unique_ptr<IUserDialogs> dialogs) { Dialogs = std::move(dialogs); }

void TUVIDEMain::CreateActions() {
  const QStyle *s = style();
  FileNew = MakeAction(this, "FileNew", QStringLiteral("&New"), QStringLiteral("New"),
                       QStringLiteral("Create a new file"), {QKeySequence(Qt::CTRL | Qt::Key_N)},
                       TCommandIcon::ciNew, s);
  FileOpen = MakeAction(this, "FileOpen", QStringLiteral("&Open"), QStringLiteral("Open"),
                        QStringLiteral("Open a file"), {QKeySequence(Qt::CTRL | Qt::Key_O)},
                        TCommandIcon::ciOpen, s);
  FileSave = MakeAction(this, "FileSave", QStringLiteral("&Save"), QStringLiteral("Save"),
                        QStringLiteral("Save current file"), {QKeySequence(Qt::CTRL | Qt::Key_S)},
                        TCommandIcon::ciSave, s);
  FileSaveAs = MakeAction(this, "FileSaveAs", QStringLiteral("Save &As..."),
                          QStringLiteral("Save As"),
                          QStringLiteral("Save current file with different name"), {},
                          TCommandIcon::ciSaveAs, s);
  FileSend = MakeAction(this, "FileSend", QStringLiteral("Sen&d"), QStringLiteral("Send"),
                        QStringLiteral("Send current file through electronic mail"), {},
                        TCommandIcon::ciSend, s);
  FileRun = MakeAction(this, "FileRun", QStringLiteral("&Run"), QStringLiteral("Run"),
                       QStringLiteral("Compile and run current program"), {QKeySequence(Qt::Key_F9)},
                       TCommandIcon::ciRun, s);
  FileStop = MakeAction(this, "FileStop", QStringLiteral("&Stop"), QStringLiteral("Stop"),
                        QStringLiteral("Stop the running program"),
                        {QKeySequence(Qt::CTRL | Qt::Key_F2)}, TCommandIcon::ciStop, s);
  FileExit = MakeAction(this, "FileExit", QStringLiteral("E&xit"), QStringLiteral("Exit"),
                        QStringLiteral("Exit application"), {},
                        TCommandIcon::ciExit, s);
  EditCut = MakeAction(this, "EditCut", QStringLiteral("Cu&t"), QStringLiteral("Cut"),
                       QStringLiteral("Cuts the selection and puts it on the Clipboard"),
                       {QKeySequence(Qt::CTRL | Qt::Key_X)}, TCommandIcon::ciCut, s);
  EditCopy = MakeAction(this, "EditCopy", QStringLiteral("&Copy"), QStringLiteral("Copy"),
                        QStringLiteral("Copies the selection and puts it on the Clipboard"),
                        {QKeySequence(Qt::CTRL | Qt::Key_C)}, TCommandIcon::ciCopy, s);
  EditPaste = MakeAction(this, "EditPaste", QStringLiteral("&Paste"), QStringLiteral("Paste"),
                         QStringLiteral("Inserts Clipboard contents"),
                         {QKeySequence(Qt::CTRL | Qt::Key_V)}, TCommandIcon::ciPaste, s);
  HelpAbout = MakeAction(this, "HelpAbout", QStringLiteral("&About..."), QStringLiteral("About"),
                         QStringLiteral("Displays program information, version number, and "
                                        "copyright"),
                         {}, TCommandIcon::ciAbout, s);

  auto bind = [this](QAction *action, void (TUVIDEMain::*handler)()) {
    connect(action, &QAction::triggered, this, [this, handler] { Guarded([this, handler] {
      (this->*handler)();
    }); });
  };
  bind(FileNew, &TUVIDEMain::FileNewExecute);
  bind(FileOpen, &TUVIDEMain::FileOpenExecute);
  bind(FileSave, &TUVIDEMain::FileSaveExecute);
  bind(FileSaveAs, &TUVIDEMain::FileSaveAsExecute);
  bind(FileSend, &TUVIDEMain::FileSendExecute);
  bind(FileRun, &TUVIDEMain::FileRunExecute);
  bind(FileStop, &TUVIDEMain::FileStopExecute);
  bind(FileExit, &TUVIDEMain::FileExitExecute);
  bind(HelpAbout, &TUVIDEMain::HelpAboutExecute);
  connect(EditCut, &QAction::triggered, this, [] { OnFocusedEdit([](auto *e) { e->cut(); }); });
  connect(EditCopy, &QAction::triggered, this, [] { OnFocusedEdit([](auto *e) { e->copy(); }); });
  connect(EditPaste, &QAction::triggered, this,
          [] { OnFocusedEdit([](auto *e) { e->paste(); }); });

  for (QAction *action : {FileNew, FileOpen, FileSave, FileSaveAs, FileSend, FileRun, FileStop,
                          FileExit, EditCut, EditCopy, EditPaste, HelpAbout})
    addAction(action);
  CreateEditorActions();
  // Stop works from the console too, where the running program has the keyboard.
  ConsoleWindow->addAction(FileStop);
  connect(qApp, &QApplication::focusChanged, this, [this] { UpdateEditActions(); });
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
          [this] { UpdateEditActions(); });
}

void TUVIDEMain::CreateMenus() {
  menuBar()->setObjectName(QStringLiteral("MainMenu1"));
  FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  FileMenu->menuAction()->setStatusTip(QStringLiteral("File related commands"));
  FileMenu->addActions({FileNew, FileOpen, FileSave, FileSaveAs});
  FileMenu->addSeparator();
  FileMenu->addMenu(RecentMenu);
  FileMenu->addMenu(ExamplesMenu);
  FileMenu->addSeparator();
  FileMenu->addAction(FileSend);
  FileMenu->addSeparator();
  FileMenu->addActions({FileRun, FileStop});
  FileMenu->addSeparator();
  FileMenu->addAction(FileExit);
  EditMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
  EditMenu->menuAction()->setStatusTip(QStringLiteral("Edit commands"));
  EditMenu->addActions({EditUndo, EditRedo});
  EditMenu->addSeparator();
  EditMenu->addActions({EditCut, EditCopy, EditPaste, EditSelectAll});
  EditMenu->addSeparator();
  EditMenu->addActions({EditFind, EditFindNext, EditFindPrevious, EditReplace, EditGoToLine});
  ViewMenu = menuBar()->addMenu(QStringLiteral("&View"));
  ViewMenu->menuAction()->setStatusTip(QStringLiteral("Text size"));
  ViewMenu->addActions({ViewZoomIn, ViewZoomOut, ViewZoomReset});
  HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  HelpMenu->menuAction()->setStatusTip(QStringLiteral("Help topics"));
  HelpMenu->addAction(HelpGuide);
  HelpMenu->addSeparator();
  HelpMenu->addAction(HelpAbout);
}

void TUVIDEMain::CreateToolBar() {
  ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFixedHeight(30);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->addActions({FileNew, FileOpen, FileSave});
  ToolBar1->addSeparator();
  ToolBar1->addAction(FileSend);
  ToolBar1->addSeparator();
  ToolBar1->addActions({EditCut, EditCopy, EditPaste});
  ToolBar1->addSeparator();
  ToolBar1->addActions({EditUndo, EditRedo});
  ToolBar1->addSeparator();
  ToolBar1->addActions({FileRun, FileStop});
}

void TUVIDEMain::CreateEditor() {
  Splitter1 = new QSplitter(Qt::Vertical, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(2);
  Splitter1->setChildrenCollapsible(false);

  EditorPane = new TEditorPane(Splitter1);
  RichEdit1 = EditorPane->Editor();
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  TQtRichText::ConfigureEditor(RichEdit1);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(RichEdit1, &QTextEdit::textChanged, this, [this] { RichEdit1Change(); });
  connect(RichEdit1, &QTextEdit::copyAvailable, this, [this] { UpdateEditActions(); });
  connect(RichEdit1->document(), &QTextDocument::modificationChanged, this,
          [this] { UpdateCaption(); });
  LineMarker = new TLineMarker(RichEdit1);

  lstErrors = new TDiagnosticList(Splitter1);
  lstErrors->setObjectName(QStringLiteral("lstErrors"));
  lstErrors->setMinimumHeight(1);
  connect(lstErrors, &TDiagnosticList::JumpRequested, this, [this] { lstErrorsDblClick(); });
  connect(lstErrors, &QListWidget::currentRowChanged, this, [this] { ShowDiagnosticHint(); });

  Splitter1->addWidget(EditorPane);
  Splitter1->addWidget(lstErrors);
  Splitter1->setCollapsible(0, false);
  Splitter1->setCollapsible(1, true);
  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 0);
  Splitter1->setSizes({1000, 0});
  setCentralWidget(Splitter1);
}

void TUVIDEMain::FormCreate() {
  // From here on the highlighter follows every change of the document by itself.
  RichText = std::make_unique<TQtRichText>(RichEdit1);
  RichText->InitHighlighter();
  RichEdit1->SetHighlighter(RichText.get());
  UpdateEditActions();
  UpdateRunActions();
  SetModified(false);
  FileSave->setEnabled(true);
}

void TUVIDEMain::FormShow() {
  if (CommandLineLoadedValue || CommandLineFile.isEmpty()) return;
  CommandLineLoadedValue = true;
  const QFileInfo file(CommandLineFile);
  if (!file.exists() && QFileInfo(file.absolutePath()).isDir()) {
    // A new file: an empty text with that name, written there by Save.
    FileNameValue = file.absoluteFilePath();
    UpdateCaption();
    return;
  }
  Guarded([this] { LoadFile(CommandLineFile); });
}

void TUVIDEMain::showEvent(QShowEvent *event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

bool TUVIDEMain::Modified() const { return RichEdit1->document()->isModified(); }

void TUVIDEMain::SetModified(bool modified) { RichEdit1->document()->setModified(modified); }

QString TUVIDEMain::EditorText() const {
  QString text = RichEdit1->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return text;
}

int TUVIDEMain::EditorLineCount() const {
  const QString text = EditorText();
  if (text.isEmpty()) return 0;
  return static_cast<int>(text.count(QLatin1Char('\n'))) + (text.endsWith(QLatin1Char('\n')) ? 0 : 1);
}

int TUVIDEMain::ErrorListShownHeight() const { return Splitter1->sizes().value(1); }

TConsoleWindow *TUVIDEMain::Console() const { return ConsoleWindow.get(); }

bool TUVIDEMain::IsSendingMail() const { return Mail->IsBusy(); }

QString TUVIDEMain::BareFileName(const QString &fileName) {
  qsizetype cut = -1;
  for (QChar separator : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')})
    cut = std::max(cut, fileName.lastIndexOf(separator));
  return fileName.mid(cut + 1);
}

QString TUVIDEMain::ListingName(const QString &fileName) {
  return QString::fromStdString(::ListingName(fileName.toStdString()));
}

QString TUVIDEMain::ErrorBoxText(const QString &message) {
  if (!message.isEmpty() && message.back().unicode() > u'.') return message + QLatin1Char('.');
  return message;
}

void TUVIDEMain::ShowErrorBox(const QString &message) {
  Dialogs->Error(QStringLiteral("Ulvan"), ErrorBoxText(message));
}

void TUVIDEMain::Guarded(const std::function<void()> &command) {
  try {
    command();
  } catch (const std::exception &error) {
    ShowErrorBox(BytesToText(error.what()));
  }
}

void TUVIDEMain::UpdateCaption() {
  setWindowTitle(QStringLiteral("Ulvan - ") + BareFileName(FileNameValue) +
                 (Modified() ? QStringLiteral("*") : QString()));
}

void TUVIDEMain::UpdateEditActions() {
  const bool selection = FocusedEditHasSelection();
  EditCut->setEnabled(selection);
  EditCopy->setEnabled(selection);
  const QMimeData *clip = QApplication::clipboard()->mimeData();
  EditPaste->setEnabled(clip != nullptr && clip->hasText());
}

void TUVIDEMain::UpdateRunActions() {
  FileRun->setEnabled(!Running);
  FileNew->setEnabled(!Running);
  FileOpen->setEnabled(!Running);
  FileStop->setEnabled(Running);
}

void TUVIDEMain::RichEdit1Change() {
  // The highlighter recolours after the change through the document's own change signal.
  if (!FileSave->isEnabled()) FileSave->setEnabled(true);
}

// ---- file commands ----

void TUVIDEMain::FileNewExecute() {
  if (Running || !QuerySaveChanges()) return;
  StartNewText();
}

void TUVIDEMain::StartNewText() {
  ClearDiagnostics();
  FileNameValue = Untitled;
  ProposedName.clear();
  EncodingValue = TTextEncoding::teUtf8;
  RichEdit1->clear();
  SetModified(false);
  FileSave->setEnabled(true);
  UpdateCaption();
}

bool TUVIDEMain::QuerySaveChanges() {
  if (!Modified()) return true;
  const QString question = QStringLiteral("Do you wish to save changes you made to %1?")
                               .arg(BareFileName(FileNameValue));
  switch (Dialogs->ConfirmYesNoCancel(question)) {
    case TAnswer::anYes:
      FileSaveExecute();
      return !Modified();
    case TAnswer::anNo:
      return true;
    default:
      return false;
  }
}

void TUVIDEMain::FileOpenExecute() {
  if (Running) return;
  if (!QuerySaveChanges()) return;
  const QString name = Dialogs->OpenFileName(FolderOf(FileNameValue));
  if (!name.isEmpty()) LoadFile(name);
}

void TUVIDEMain::LoadFile(const QString &name) {
  statusBar()->showMessage(QStringLiteral("Wait..."));
  statusBar()->repaint();
  QByteArray bytes;
  try {
    bytes = ReadFileBytes(name);
  } catch (...) {
    statusBar()->showMessage(QStringLiteral("Could not load file"));
    throw;
  }
  const TSourceText source = DecodeSource(bytes);
  ClearDiagnostics();
  RichEdit1->setPlainText(source.Text);
  if (EditorLineCount() > 0) RichText->RecolorAll();
  statusBar()->clearMessage();
  RichEdit1->moveCursor(QTextCursor::Start);
  FileNameValue = QFileInfo(name).absoluteFilePath();
  ProposedName.clear();
  RememberFile(FileNameValue);
  EncodingValue = source.Encoding;
  RichEdit1->setFocus();
  SetModified(false);
  FileSave->setEnabled(false);
  UpdateCaption();
}

void TUVIDEMain::WriteText(const QString &path) {
  TTextEncoding encoding = EncodingValue;
  WriteFileBytes(path, EncodeSource(EditorText(), encoding));
  EncodingValue = encoding;
}

void TUVIDEMain::FileSaveExecute() {
  if (FileNameValue != Untitled) {
    WriteText(FileNameValue);
    SetModified(false);
    FileSave->setEnabled(false);
    RememberFile(FileNameValue);
  } else {
    FileSaveAsExecute();
  }
}

void TUVIDEMain::FileSaveAsExecute() {
  const QString proposed = FileNameValue == Untitled ? ProposedName : FileNameValue;
  const QString path = ChooseSaveName(*Dialogs, proposed);
  if (path.isEmpty()) return;
  if (QFileInfo::exists(path) &&
      Dialogs->ConfirmOkCancel(QStringLiteral("OK to overwrite %1?").arg(path)) != TAnswer::anOk)
    return;
  WriteText(path);
  FileNameValue = path;
  ProposedName.clear();
  SetModified(false);
  FileSave->setEnabled(false);
  RememberFile(path);
  UpdateCaption();
}

void TUVIDEMain::FileSendExecute() {
  if (Mail->IsBusy()) return;
  FileSend->setEnabled(false);
  QApplication::setOverrideCursor(Qt::BusyCursor);
  Mail->Start(MailBody(EditorText()));
}

void TUVIDEMain::MailFinished(const QString &failure) {
  QApplication::restoreOverrideCursor();
  FileSend->setEnabled(true);
  if (!failure.isEmpty())
    Dialogs->Error(QStringLiteral("Error"), QStringLiteral("Error sending mail\n") + failure);
}

void TUVIDEMain::FileExitExecute() { close(); }

void TUVIDEMain::HelpAboutExecute() { AboutBoxWidget->exec(); }

// ---- Run ----

void TUVIDEMain::ShowErrorList(bool show) {
  const QList<int> sizes = Splitter1->sizes();
  const int total = std::max(sizes.value(0) + sizes.value(1), 0);
  const int height = sizes.value(1);
  if (show) {
    // Grown to show the first items whole, up to half the room; never below the height it
    // has or gets back.
    const int wanted = std::max(height == 0 ? ErrorListHeightValue : height,
                                std::min(lstErrors->FittingHeight(), total / 2));
    if (wanted != height) Splitter1->setSizes({std::max(total - wanted, 0), wanted});
  } else if (height != 0) {
    ErrorListHeightValue = height;
    Splitter1->setSizes({total, 0});
  }
}

void TUVIDEMain::FileRunExecute() {
  if (Running) return;
  FileSaveExecute();
  if (FileNameValue == Untitled || !QFileInfo::exists(FileNameValue)) {
    Dialogs->Warning(QStringLiteral("Cannot compile"),
                     QStringLiteral("You have to save the file at first"));
    return;
  }
  LineMarker->Clear();
  RichEdit1->ClearLineMarks(TGutterMark::gmRunError);
  statusBar()->showMessage(QStringLiteral("Compiling..."));
  statusBar()->repaint();
  const IParserRef parser = ParserFactory();
  const bool compiled = parser->Compile(QFile::encodeName(FileNameValue).toStdString());
  CompileSummary = compiled ? QString() : DiagnosticCounts(parser->GetErrors());
  statusBar()->showMessage(CompileSummary);
  lstErrors->SetLines(parser->GetErrors());
  ShowErrorList(lstErrors->count() > 0);
  if (const int first = lstErrors->FirstErrorRow(); !compiled && first >= 0) {
    lstErrors->setCurrentRow(first);
    ShowLineNumber(lstErrors->LineOf(first));
  }
  const IProgramRef program = parser->GetProgram();
  WriteListingBeside(*program, QFile::encodeName(FileNameValue).toStdString());
  if (compiled) RunProgram(program);
}

void TUVIDEMain::RunProgram(const IProgramRef &program) {
  if (!Interpreter->LoadProgram(program)) return;
  Running = true;
  StopAsked = false;
  UpdateRunActions();
  statusBar()->showMessage(QStringLiteral("Running..."));
  TRunOutcome outcome;
  QElapsedTimer clock;
  clock.start();
  try {
    Interpreter->Run();
    outcome.End = StopAsked ? TRunEnd::reStopped : TRunEnd::reFinished;
  } catch (const std::exception &error) {
    outcome.End = TRunEnd::reRunError;
    outcome.Message = ErrorBoxText(BytesToText(error.what()));
    const std::vector<TCallFrame> calls = ActiveCalls(*Interpreter);
    if (!calls.empty()) {
      outcome.Line = calls.front().Line;
      outcome.Routine = BytesToText(calls.front().Routine);
    }
  }
  outcome.Seconds = static_cast<double>(clock.elapsed()) / 1000.0;
  Running = false;
  UpdateRunActions();
  if (CloseConfirmed) {
    // The window was asked to close during the run and allowed to; it closes now.
    QTimer::singleShot(0, this, &QWidget::close);
    return;
  }
  ShowRunOutcome(outcome);
}

void TUVIDEMain::ShowRunOutcome(const TRunOutcome &outcome) {
  statusBar()->showMessage(RunStatusText(outcome));
  ConsoleWindow->ShowEnd(outcome.End, RunEndLine(outcome));
  if (outcome.End != TRunEnd::reRunError) return;
  if (outcome.Line > 0) {
    LineMarker->ShowLine(outcome.Line - 1, TLineMarkKind::lmRunError);
    RichEdit1->SetLineMark(outcome.Line - 1, TGutterMark::gmRunError);
  }
  Dialogs->Error(QStringLiteral("Ulvan"), RunErrorBoxText(outcome));
}

void TUVIDEMain::FileStopExecute() {
  if (!Running) return;
  StopAsked = true;
  Interpreter->Stop();
}

void TUVIDEMain::lstErrorsDblClick() {
  const int index = lstErrors->currentRow();
  if (index < 0 || index >= lstErrors->count()) return;
  const QString item = lstErrors->item(index)->text();
  const qsizetype open = item.indexOf(QLatin1Char('('));
  const qsizetype close = item.indexOf(QLatin1Char(')'));
  if (open < 0 || close < 0 || close <= open + 1) return;
  bool isNumber = false;
  const int number = item.mid(open + 1, close - open - 1).toInt(&isNumber);
  ShowLineNumber(isNumber ? number : 0);
}

void TUVIDEMain::ShowLineNumber(int number) {
  // In 64 bits, so that an item naming line -2147483648 cannot overflow.
  long long line = static_cast<long long>(number) - 1;
  const int count = EditorLineCount();
  if (line >= count) line = count - 1;
  if (line < 0) line = 0;
  LineMarker->ShowLine(static_cast<int>(line), TLineMarkKind::lmDiagnostic);
}

void TUVIDEMain::ClearDiagnostics() {
  CompileSummary.clear();
  lstErrors->clear();
  ShowErrorList(false);
  LineMarker->Clear();
}

void TUVIDEMain::ShowDiagnosticHint() {
  // After a failed compile its counts come first. A message of another kind stays when there
  // is nothing to show.
  QString message = CompileSummary;
  if (const QString hint = lstErrors->CurrentHint(); !hint.isEmpty())
    message += (message.isEmpty() ? QString() : QStringLiteral(" - ")) + hint;
  if (!message.isEmpty()) statusBar()->showMessage(message);
  else if (!HintMessage.isEmpty() && statusBar()->currentMessage() == HintMessage)
    statusBar()->clearMessage();
  HintMessage = message;
}

// ---- closing ----

bool TUVIDEMain::FormCloseQuery() { return QuerySaveChanges(); }

void TUVIDEMain::closeEvent(QCloseEvent *event) {
  if (!CloseConfirmed) {
    bool allowed = false;
    Guarded([&] { allowed = FormCloseQuery(); });
    if (!allowed) {
      event->ignore();  // a running program goes on
      return;
    }
  }
  if (Running) {
    // Run is further down this call stack (a key wait or a poll); the window closes once it
    // has returned.
    CloseConfirmed = true;
    FileStopExecute();
    event->ignore();
    return;
  }
  CloseConfirmed = false;
  ConsoleWindow->hide();
  SavePlacement(*this, ErrorListShownHeight() > 0 ? ErrorListShownHeight() : ErrorListHeightValue);
  event->accept();
}
