// The editor window: one source file, its commands, the diagnostics list and the runs.
#pragma once

#include <functional>
#include <memory>

#include <QMainWindow>
#include <QString>

#include "CodeEditor.h"
#include "DiagnosticList.h"
#include "EditorSettings.h"
#include "IParser.h"
#include "RunOutcome.h"
#include "SourceText.h"
#include "UserDialogs.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;
class TAboutBox;
class TUVCInterpreter;
class TConsoleWindow;
class TEditorPane;
class TFileListMenu;
class THelpWindow;
class TLineMarker;
class TMailSender;
class TQtRichText;

// Makes the compiler for one Run.
using TParserFactory = std::function<IParserRef()>;

class TUVIDEMain final : public QMainWindow {
  Q_OBJECT
 public:
  static inline const QString Untitled = QStringLiteral("Untitled");

  // `commandLineFile` is the first command-line argument, empty when there is none.
  TUVIDEMain(TParserFactory parserFactory, QString commandLineFile = {},
             QWidget *parent = nullptr);
  ~TUVIDEMain() override;

  void SetDialogs(std::unique_ptr<IUserDialogs> dialogs);

  // Commands. They throw on failure; the actions show what they throw in the error box.
  void FileNewExecute();
  void FileOpenExecute();
  void FileSaveExecute();
  void FileSaveAsExecute();
  void FileSendExecute();
  void FileRunExecute();
  // Ends the running program at once; nothing when no program runs.
  void FileStopExecute();
  void FileExitExecute();
  void HelpAboutExecute();
  // Asks for a line number and puts the caret at the start of that line (clamped to the text).
  void EditGoToLineExecute();
  // The Language Guide, at the entry of the word at the editor's caret when it has one.
  void HelpGuideExecute();
  // A file of the Recent Files menu: opened as Open does; one that no longer exists is said
  // to be gone and leaves the list.
  void OpenRecentFile(const QString &path);
  // A copy of an example program as a new, unsaved text.
  void OpenExample(const QString &path);
  // The folder whose programs the Examples menu lists (found beside the program by default).
  void SetExamplesFolder(const QString &folder);
  void LoadFile(const QString &name);
  void ShowErrorList(bool show);
  void lstErrorsDblClick();

  // The general error box: captioned "Ulvan", error icon, text by ErrorBoxText.
  void ShowErrorBox(const QString &message);
  // The message with a "." appended when it ends in a character above ".".
  static QString ErrorBoxText(const QString &message);
  // `fileName` with the extension of its bare name replaced by ".uvc".
  static QString ListingName(const QString &fileName);
  // The part of a path after its last "/", "\" or ":".
  static QString BareFileName(const QString &fileName);

  QString FileName() const { return FileNameValue; }
  bool Modified() const;
  int ErrorListHeight() const { return ErrorListHeightValue; }
  // The height the diagnostics list has now (0: hidden).
  int ErrorListShownHeight() const;
  bool CommandLineLoaded() const { return CommandLineLoadedValue; }
  bool IsRunning() const { return Running; }
  TTextEncoding Encoding() const { return EncodingValue; }
  TAboutBox *AboutBox() const { return AboutBoxWidget; }
  // The syntax highlighter of RichEdit1.
  TQtRichText *Highlighter() const { return RichText.get(); }
  // The console window of the runs.
  TConsoleWindow *Console() const;
  // The one marked line of the editor: a diagnostic's or a run-time error's.
  TLineMarker *Marker() const { return LineMarker; }
  bool IsSendingMail() const;
  // The Language Guide's window, made when first asked for.
  THelpWindow *GuideWindow() const { return Guide; }

  // The edited text with LF line ends.
  QString EditorText() const;
  // Lines as the text holds them: a final line end does not start another line.
  int EditorLineCount() const;

  // Controls and commands.
  QToolBar *ToolBar1 = nullptr;
  TCodeEditor *RichEdit1 = nullptr;
  TDiagnosticList *lstErrors = nullptr;
  QSplitter *Splitter1 = nullptr;
  QMenu *FileMenu = nullptr;
  QMenu *EditMenu = nullptr;
  QMenu *HelpMenu = nullptr;
  QAction *FileNew = nullptr;
  QAction *FileOpen = nullptr;
  QAction *FileSave = nullptr;
  QAction *FileSaveAs = nullptr;
  QAction *FileSend = nullptr;
  QAction *FileRun = nullptr;
  QAction *FileStop = nullptr;
  QAction *FileExit = nullptr;
  QAction *EditCut = nullptr;
  QAction *EditCopy = nullptr;
  QAction *EditPaste = nullptr;
  QAction *HelpAbout = nullptr;
  // The editor's own commands.
  TEditorPane *EditorPane = nullptr;
  QMenu *ViewMenu = nullptr;
  TFileListMenu *RecentMenu = nullptr;
  TFileListMenu *ExamplesMenu = nullptr;
  QLabel *CaretPosition = nullptr;  // "Line 12, Col 5" at the right of the status bar
  QAction *EditUndo = nullptr;
  QAction *EditRedo = nullptr;
  QAction *EditSelectAll = nullptr;
  QAction *EditFind = nullptr;
  QAction *EditFindNext = nullptr;
  QAction *EditFindPrevious = nullptr;
  QAction *EditReplace = nullptr;
  QAction *EditGoToLine = nullptr;
  QAction *ViewZoomIn = nullptr;
  QAction *ViewZoomOut = nullptr;
  QAction *ViewZoomReset = nullptr;
  QAction *HelpGuide = nullptr;

 protected:
  void showEvent(QShowEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateEditor();
  // EditorCommands.cpp: the editor's commands, the recent files and the examples.
  void CreateEditorActions();
  void ConnectEditor();
  void RememberFile(const QString &path);
  void ShowCaretPosition();
  void FontSizeChanged(int pixels);
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void RichEdit1Change();
  void UpdateCaption();
  void UpdateEditActions();
  void UpdateRunActions();
  // Runs a command and shows whatever it throws in the error box.
  void Guarded(const std::function<void()> &command);
  // An empty untitled text, as New makes it once the changes are dealt with.
  void StartNewText();
  // Asks whether to save changes; true when the caller may go on.
  bool QuerySaveChanges();
  void WriteText(const QString &path);
  void SetModified(bool modified);
  void RunProgram(const IProgramRef &program);
  void ShowRunOutcome(const TRunOutcome &outcome);
  void ClearDiagnostics();
  // Marks the line with this 1-based number, clamped to the text.
  void ShowLineNumber(int number);
  // The selected diagnostic's hint in the status bar.
  void ShowDiagnosticHint();
  void MailFinished(const QString &failure);

  TParserFactory ParserFactory;
  QString CommandLineFile;
  std::unique_ptr<IUserDialogs> Dialogs;
  std::unique_ptr<TConsoleWindow> ConsoleWindow;
  std::unique_ptr<TUVCInterpreter> Interpreter;
  std::unique_ptr<TQtRichText> RichText;
  TMailSender *Mail = nullptr;
  TAboutBox *AboutBoxWidget = nullptr;
  TLineMarker *LineMarker = nullptr;
  THelpWindow *Guide = nullptr;
  TEditorSettings Settings;
  // What Save As proposes for an untitled text (an example's name), empty for nothing.
  QString ProposedName;
  QString FileNameValue = Untitled;
  // The counts of the last failed compile, shown before a diagnostic's hint.
  QString CompileSummary;
  // What ShowDiagnosticHint put in the status bar last.
  QString HintMessage;
  TTextEncoding EncodingValue = TTextEncoding::teUtf8;
  int ErrorListHeightValue = 60;
  bool CommandLineLoadedValue = false;
  bool Running = false;
  bool StopAsked = false;       // the user stopped the current run
  bool CloseConfirmed = false;  // closing was allowed during a run; it happens when the run ends
};
