// The console window: output through TConsoleScreen, keys through a queue, waiting for a key
// by running the event loop.
#include "ConsoleWindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QVBoxLayout>
#include <QtMath>

#include "EditorFont.h"
#include "GuardedTextEdits.h"
#include "SourceText.h"

namespace {

// Where the byte `byte` of a screen line lies in the text shown for it: the line shows as UTF-8
// when it is valid UTF-8 and as one character per byte otherwise (BytesToText).
int CaretOffset(const std::string &line, std::size_t byte) {
  const QString shown = BytesToText(line);
  if (shown.size() == static_cast<qsizetype>(line.size())) return static_cast<int>(byte);
  return static_cast<int>(BytesToText(std::string_view(line).substr(0, byte)).size());
}

}  // namespace

TConsoleWindow::TConsoleWindow(QWidget *owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("ConsoleWindow"));
  setAttribute(Qt::WA_QuitOnClose, false);
  Screen = new TGuardedPlainTextEdit(this);
  Screen->setObjectName(QStringLiteral("ConsoleText"));
  Screen->setReadOnly(true);
  Screen->setUndoRedoEnabled(false);
  Screen->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Selectable, so the caret shows where the program writes and the mouse can copy text;
  // the keys themselves all go to the program (eventFilter).
  Screen->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Screen->setCursorWidth(8);
  Screen->setFocusPolicy(Qt::StrongFocus);
  const QFont font = EditorFont(DefaultFontPixelSize);
  Screen->setFont(font);
  QPalette colours = Screen->palette();
  colours.setColor(QPalette::Base, Qt::black);
  colours.setColor(QPalette::Text, QColor(192, 192, 192));
  Screen->setPalette(colours);
  Screen->installEventFilter(this);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Screen);
  // 80 columns and 25 lines, with room for the vertical scroll bar and the caret; the text area
  // rounds each line up to whole pixels and wants one more below the last.
  const QFontMetricsF metrics(font);
  const int border = 2 * (Screen->frameWidth() + qCeil(Screen->document()->documentMargin()));
  resize(qCeil(metrics.horizontalAdvance(QLatin1Char('M')) * 80) + border + Screen->cursorWidth() +
             Screen->style()->pixelMetric(QStyle::PM_ScrollBarExtent),
         qCeil(metrics.lineSpacing()) * 25 + border + 1);
}

void TConsoleWindow::SetFontPixelSize(int pixels) { Screen->setFont(EditorFont(pixels)); }

TConsoleWindow::~TConsoleWindow() {
  if (WaitLoop) WaitLoop->quit();
}

void TConsoleWindow::Open(const std::string &title) {
  Model.Clear();
  Keys.clear();
  Screen->clear();
  Opened = true;
  ++Opens;
  ProgramName = BytesToText(title);
  setWindowTitle(ProgramName);
  Screen->setCursorWidth(8);
  PlaceFirstTime();
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
}

void TConsoleWindow::ShowEnd(TRunEnd end, const QString &line) {
  setWindowTitle(RunEndTitle(ProgramName, end));
  Screen->setCursorWidth(0);  // no more input
  QTextCursor cursor(Screen->document());
  cursor.movePosition(QTextCursor::End);
  if (!cursor.block().text().isEmpty()) cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
  QTextCharFormat format;
  format.setFontWeight(QFont::Bold);
  format.setForeground(end == TRunEnd::reFinished  ? QColor(128, 224, 128)
                       : end == TRunEnd::reStopped ? QColor(240, 208, 96)
                                                   : QColor(255, 128, 128));
  cursor.insertText(line, format);
  Screen->setTextCursor(cursor);
  Screen->ensureCursorVisible();
}

std::optional<QPoint> TConsoleWindow::PlaceBeside(const QRect &owner, const QSize &size,
                                                  const QRect &screen) {
  if (size.width() > screen.width() || size.height() > screen.height()) return std::nullopt;
  const int minX = screen.left(), maxX = screen.right() + 1 - size.width();
  const int minY = screen.top(), maxY = screen.bottom() + 1 - size.height();
  // Right of, below, left of and above the owner, aligned with its top or left edge, then the
  // screen's corners; each moved inside the screen. The first that covers the least of the
  // owner wins, so a screen too small for a place beside it still leaves most of it in view.
  const QPoint candidates[] = {
      {owner.right() + 1, owner.top()},  {owner.left(), owner.bottom() + 1},
      {owner.left() - size.width(), owner.top()}, {owner.left(), owner.top() - size.height()},
      {maxX, maxY}, {maxX, minY}, {minX, maxY}, {minX, minY}};
  QPoint best;
  qint64 bestOverlap = -1;
  for (const QPoint &candidate : candidates) {
    const QPoint at(std::clamp(candidate.x(), minX, maxX), std::clamp(candidate.y(), minY, maxY));
    const QRect covered = QRect(at, size) & owner;
    const qint64 overlap = covered.isEmpty() ? 0 : qint64{covered.width()} * covered.height();
    if (bestOverlap < 0 || overlap < bestOverlap) {
      best = at;
      bestOverlap = overlap;
    }
  }
  return best;
}

// Beside the editor window at the first run; later runs find the console where the user left it.
void TConsoleWindow::PlaceFirstTime() {
  if (Placed || parentWidget() == nullptr) return;
  Placed = true;
  const QWidget *owner = parentWidget()->window();
  const QScreen *screen = owner->screen();
  if (screen == nullptr) return;
  // The console's frame is not known before it is shown; the owner's frame stands in for it.
  const QSize frame = owner->frameGeometry().size() - owner->geometry().size();
  if (const auto at = PlaceBeside(owner->frameGeometry(), size() + frame,
                                  screen->availableGeometry()))
    move(*at);
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
    cursor.insertText(tail, QTextCharFormat());
  }
  // The caret shows where the program writes next.
  const QTextBlock row = document->findBlockByNumber(static_cast<int>(Model.Row()));
  if (row.isValid()) {
    QTextCursor caret(row);
    caret.setPosition(row.position() + std::min(CaretOffset(lines[Model.Row()], Model.ColumnByte()),
                                                row.length() - 1));
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
    if (!Opened) {
      // After the run: Escape closes the window, the text can be copied, other keys do nothing.
      if (key->key() == Qt::Key_Escape) close();
      return !key->matches(QKeySequence::Copy) && !key->matches(QKeySequence::SelectAll);
    }
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
