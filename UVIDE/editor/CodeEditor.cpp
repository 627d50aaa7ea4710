#include "CodeEditor.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QWheelEvent>

#include "BlockMatch.h"
#include "EditorFont.h"
#include "Gutter.h"
#include "QtRichText.h"

namespace {

// The document's lines with the highlighter's comment state (none without a highlighter).
class TDocumentLines final : public ISourceLines {
 public:
  TDocumentLines(const QTextDocument *document, const TQtRichText *highlighter)
      : Document(document), Highlighter(highlighter) {}
  int LineCount() const override { return Document->blockCount(); }
  std::string LineText(int line) const override {
    return TQtRichText::LineBytes(Document->findBlockByNumber(line).text());
  }
  bool StartsInComment(int line) const override {
    if (Highlighter == nullptr) return false;
    const std::vector<bool> &flags = Highlighter->Highlighter().CommentFlags();
    return line >= 0 && line < static_cast<int>(flags.size()) && flags[static_cast<std::size_t>(line)];
  }

 private:
  const QTextDocument *Document;
  const TQtRichText *Highlighter;
};

QTextEdit::ExtraSelection Background(const QTextCursor &cursor, const QColor &colour,
                                     bool fullWidth) {
  QTextEdit::ExtraSelection selection;
  selection.cursor = cursor;
  selection.format.setBackground(colour);
  if (fullWidth) selection.format.setProperty(QTextFormat::FullWidthSelection, true);
  return selection;
}

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

}  // namespace

TCodeEditor::TCodeEditor(QWidget *parent) : TGuardedTextEdit(parent) {
  Marks = std::make_unique<TLineMarks>(document());
  GutterWidget = new TGutter(this);
  connect(GutterWidget, &TGutter::MarkerColumnClicked, this, &TCodeEditor::GutterClicked);
  connect(document(), &QTextDocument::blockCountChanged, this, [this] { UpdateGutterWidth(); });
  connect(document(), &QTextDocument::contentsChange, GutterWidget, [this] { GutterWidget->update(); });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, GutterWidget, [this] { GutterWidget->update(); });
  connect(this, &QTextEdit::cursorPositionChanged, this, [this] { CaretMoved(); });
  PartnerTimer.setSingleShot(true);
  PartnerTimer.setInterval(0);
  connect(&PartnerTimer, &QTimer::timeout, this, [this] { UpdatePartners(); });
  UpdateGutterWidth();
  CaretMoved();
}

TCodeEditor::~TCodeEditor() = default;

// ---- gutter marks ----

void TCodeEditor::SetLineMark(int line, TGutterMark kind, bool on) {
  Marks->Set(line, kind, on);
  GutterWidget->update();
}

void TCodeEditor::ClearLineMarks(TGutterMark kind) {
  Marks->ClearAll(kind);
  GutterWidget->update();
}

QList<int> TCodeEditor::LinesWithMark(TGutterMark kind) const { return Marks->LinesWith(kind); }

bool TCodeEditor::HasLineMark(int line, TGutterMark kind) const { return Marks->Has(line, kind); }

unsigned TCodeEditor::LineMarks(int line) const { return Marks->MarksOf(line); }

// ---- geometry ----

QTextBlock TCodeEditor::FirstVisibleBlock() const { return cursorForPosition(QPoint(0, 0)).block(); }

QRect TCodeEditor::BlockRect(const QTextBlock &block) const {
  const QRectF r = document()->documentLayout()->blockBoundingRect(block);
  return r.translated(0, -verticalScrollBar()->value()).toAlignedRect();
}

int TCodeEditor::LineAtY(int y) const {
  const QTextBlock block = cursorForPosition(QPoint(0, y)).block();
  if (!block.isValid()) return -1;
  const QRect r = BlockRect(block);
  return y >= r.top() && y <= r.bottom() ? block.blockNumber() : -1;
}

std::pair<int, int> TCodeEditor::VisibleLines() const {
  const QTextBlock first = FirstVisibleBlock();
  QTextBlock last = first;
  const int height = viewport()->height();
  for (QTextBlock b = first; b.isValid() && BlockRect(b).top() < height; b = b.next()) last = b;
  return {first.blockNumber(), last.blockNumber()};
}

void TCodeEditor::UpdateGutterWidth() {
  const int width = GutterWidget->WidthNeeded();
  if (viewportMargins().left() != width) setViewportMargins(width, 0, 0, 0);
  const QRect contents = contentsRect();
  GutterWidget->setGeometry(contents.left(), contents.top(), width, viewport()->height());
  GutterWidget->update();
}

void TCodeEditor::resizeEvent(QResizeEvent *event) {
  TGuardedTextEdit::resizeEvent(event);
  UpdateGutterWidth();
}

// ---- decorations ----

void TCodeEditor::SetSelections(TSelectionLayer layer,
                                const QList<QTextEdit::ExtraSelection> &selections) {
  Layers[static_cast<int>(layer)] = selections;
  ApplySelections();
}

const QList<QTextEdit::ExtraSelection> &TCodeEditor::Selections(TSelectionLayer layer) const {
  return Layers[static_cast<int>(layer)];
}

void TCodeEditor::ApplySelections() {
  // The caret's line is highlighted unless a line mark already colours it.
  const QTextCursor caret = textCursor();
  QList<QTextEdit::ExtraSelection> &current = Layers[static_cast<int>(TSelectionLayer::slCurrentLine)];
  current.clear();
  const auto &marks = Layers[static_cast<int>(TSelectionLayer::slLineMark)];
  const bool marked = std::any_of(marks.begin(), marks.end(), [&](const auto &mark) {
    return mark.cursor.blockNumber() == caret.blockNumber();
  });
  if (!marked) {
    QTextCursor line = caret;
    line.clearSelection();
    current.append(Background(line, CurrentLineColour(), true));
  }
  QList<QTextEdit::ExtraSelection> all;
  for (const auto &layer : Layers) all += layer;
  setExtraSelections(all);
}

void TCodeEditor::CaretMoved() {
  const int line = textCursor().blockNumber();
  if (line != CaretLine) {
    CaretLine = line;
    GutterWidget->update();
  }
  ApplySelections();
  PartnerTimer.start();
}

void TCodeEditor::UpdatePartners() {
  PartnerTimer.stop();
  QList<QTextEdit::ExtraSelection> found;
  const QTextCursor caret = textCursor();
  if (!caret.hasSelection()) {
    const TDocumentLines lines(document(), Highlighter);
    if (const auto partners = FindPartner(lines, caret.blockNumber(), caret.positionInBlock())) {
      for (const TNestToken &token : {partners->At, partners->Partner}) {
        QTextCursor mark(document()->findBlockByNumber(token.Line));
        mark.setPosition(mark.block().position() + token.Column);
        mark.setPosition(mark.position() + token.Length, QTextCursor::KeepAnchor);
        found.append(Background(mark, PartnerColour(), false));
      }
    }
  }
  auto &layer = Layers[static_cast<int>(TSelectionLayer::slPartners)];
  if (found.isEmpty() && layer.isEmpty()) return;
  SetSelections(TSelectionLayer::slPartners, found);
}

// ---- moving around ----

void TCodeEditor::GoToLine(int line) {
  QTextDocument *doc = document();
  line = std::clamp(line, 0, std::max(doc->blockCount() - 1, 0));
  const QTextBlock block = doc->findBlockByNumber(line);
  QTextCursor caret(doc);
  caret.setPosition(block.isValid() ? block.position() : 0);
  setTextCursor(caret);
  // Towards the middle: first bring the line into view, then move the view so that the line
  // stands half a view below its top where the text allows it.
  ensureCursorVisible();
  QScrollBar *bar = verticalScrollBar();
  const int middle = viewport()->height() / 2;
  bar->setValue(std::clamp(bar->value() + cursorRect(caret).center().y() - middle, bar->minimum(),
                           bar->maximum()));
  setFocus();
}

QString TCodeEditor::WordAtCaret() const {
  const QTextCursor caret = textCursor();
  const QString text = caret.block().text();
  int start = caret.positionInBlock();
  int end = start;
  while (start > 0 && IsWordChar(text[start - 1])) --start;
  while (end < text.size() && IsWordChar(text[end])) ++end;
  return text.mid(start, end - start);
}

// ---- typing ----

void TCodeEditor::keyPressEvent(QKeyEvent *event) {
  // Every Enter (Shift+Enter too, which would start a line inside the paragraph) starts a
  // plain new line.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !isReadOnly()) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::NoModifier || mods == Qt::ShiftModifier) {
      InsertLineBreak();
      return;
    }
  }
  TGuardedTextEdit::keyPressEvent(event);
}

void TCodeEditor::InsertLineBreak() {
  // The new line starts with the blanks that begin this line, as far as they lie before the
  // caret. One undo step.
  QTextCursor caret = textCursor();
  const QString text = caret.block().text();
  const int before = caret.selectionStart() - caret.block().position();
  int blanks = 0;
  while (blanks < std::min(before, static_cast<int>(text.size())) &&
         (text[blanks] == QLatin1Char(' ') || text[blanks] == QLatin1Char('\t')))
    ++blanks;
  caret.beginEditBlock();
  caret.insertBlock();
  if (blanks > 0) caret.insertText(text.left(blanks));
  caret.endEditBlock();
  setTextCursor(caret);
  ensureCursorVisible();
}

// ---- zoom ----

int TCodeEditor::FontPixelSize() const { return font().pixelSize(); }

void TCodeEditor::SetFontPixelSize(int pixels) {
  pixels = std::clamp(pixels, MinFontPixelSize, MaxFontPixelSize);
  if (pixels == FontPixelSize()) return;
  setFont(EditorFont(pixels));
  emit FontPixelSizeChanged(pixels);
}

void TCodeEditor::changeEvent(QEvent *event) {
  TGuardedTextEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    document()->setDefaultFont(font());
    setTabStopDistance(QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' ')) * 8);
    UpdateGutterWidth();
  }
}

void TCodeEditor::wheelEvent(QWheelEvent *event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    TGuardedTextEdit::wheelEvent(event);
    return;
  }
  // One step per notch; fine-grained wheels add up to a notch first.
  WheelAngle += event->angleDelta().y();
  const int steps = WheelAngle / 120;
  WheelAngle -= steps * 120;
  if (steps != 0) ZoomBy(steps);
  event->accept();
}
