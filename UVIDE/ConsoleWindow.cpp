// The console window: output through TConsoleScreen, keys through a queue, waiting for a key
// by running the event loop.
#include "ConsoleWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "EditorFont.h"
#include "SourceText.h"

TConsoleWindow::TConsoleWindow(QWidget *owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("ConsoleWindow"));
  setAttribute(Qt::WA_QuitOnClose, false);
  Screen = new QPlainTextEdit(this);
  Screen->setObjectName(QStringLiteral("ConsoleText"));
  Screen->setReadOnly(true);
  Screen->setUndoRedoEnabled(false);
  Screen->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Selectable, so the caret shows where the program writes and the mouse can copy text;
  // the keys themselves all go to the program (eventFilter).
  Screen->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Screen->setCursorWidth(8);
  Screen->setFocusPolicy(Qt::StrongFocus);
  const QFont font = EditorFont(14);
  Screen->setFont(font);
  QPalette colours = Screen->palette();
  colours.setColor(QPalette::Base, Qt::black);
  colours.setColor(QPalette::Text, QColor(192, 192, 192));
  Screen->setPalette(colours);
  Screen->installEventFilter(this);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Screen);
  const QFontMetrics metrics(font);
  resize(metrics.horizontalAdvance(QLatin1Char('M')) * 80 + 24, metrics.lineSpacing() * 25 + 8);
}

TConsoleWindow::~TConsoleWindow() {
  if (WaitLoop) WaitLoop->quit();
}

void TConsoleWindow::Open(const std::string &title) {
  Model.Clear();
  Keys.clear();
  Screen->clear();
  Opened = true;
  ++Opens;
  setWindowTitle(BytesToText(title));
  show();
  raise();
  activateWindow();
  Screen->setFocus();
  SincePoll.start();
}

void TConsoleWindow::Release() {
  if (!Opened) return;
  Opened = false;
  Keys.clear();
  if (WaitLoop) WaitLoop->quit();
  hide();
}

void TConsoleWindow::Write(std::string_view bytes) {
  if (!Opened) return;
  Model.Write(bytes);
  Repaint();
}

// Rewrites the text area from the first changed line of the model on.
void TConsoleWindow::Repaint() {
  const auto &lines = Model.Lines();
  const std::size_t first = Model.TakeFirstChangedRow();
  QTextDocument *document = Screen->document();
  QTextCursor cursor(document);
  if (first < lines.size()) {
    const QTextBlock block = document->findBlockByNumber(static_cast<int>(first));
    if (block.isValid()) {
      cursor.setPosition(block.position());
      cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    } else {
      cursor.movePosition(QTextCursor::End);
      cursor.insertBlock();
    }
    QString tail;
    for (std::size_t i = first; i < lines.size(); ++i) {
      if (i > first) tail += QLatin1Char('\n');
      tail += BytesToText(lines[i]);
    }
    cursor.insertText(tail);
  }
  // The caret shows where the program writes next.
  const QTextBlock row = document->findBlockByNumber(static_cast<int>(Model.Row()));
  if (row.isValid()) {
    QTextCursor caret(row);
    caret.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor,
                       std::min(static_cast<int>(Model.Column()), row.length() - 1));
    Screen->setTextCursor(caret);
  }
  Screen->ensureCursorVisible();
}

int TConsoleWindow::ReadChar() {
  while (Opened && Keys.empty()) {
    QEventLoop loop;
    WaitLoop = &loop;
    loop.exec();
    WaitLoop = nullptr;
  }
  if (!Opened) return NoChar;
  const unsigned char key = Keys.front();
  Keys.pop_front();
  return key;
}

void TConsoleWindow::ProcessMessages() { QCoreApplication::processEvents(); }

void TConsoleWindow::Poll() {
  // Often enough to keep the windows painted and to let the user close the console of a
  // program that computes for long; seldom enough to cost nothing.
  if (SincePoll.isValid() && SincePoll.elapsed() < 30) return;
  SincePoll.start();
  QCoreApplication::processEvents();
}

void TConsoleWindow::TypeKey(std::string_view bytes) {
  if (!Opened) return;
  for (const char c : bytes) Keys.push_back(static_cast<unsigned char>(c));
  if (WaitLoop && !Keys.empty()) WaitLoop->quit();
}

QString TConsoleWindow::ScreenText() const { return BytesToText(Model.Text()); }

bool TConsoleWindow::eventFilter(QObject *watched, QEvent *event) {
  if (watched == Screen && event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter: TypeKey("\r"); return true;
      case Qt::Key_Backspace: TypeKey("\b"); return true;
      case Qt::Key_Tab: TypeKey("\t"); return true;
      case Qt::Key_Escape: TypeKey("\x1b"); return true;
      default: break;
    }
    const QByteArray bytes = key->text().toUtf8();
    if (!bytes.isEmpty())
      TypeKey(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    // Keys without a character (arrows, F-keys) are no input and move nothing.
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TConsoleWindow::closeEvent(QCloseEvent *event) {
  // Closing the console stops the run; the application goes on.
  if (Opened && StopHandler) StopHandler();
  Release();
  event->accept();
}
