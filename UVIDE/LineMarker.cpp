// The marked line is an extra selection of the editor: display only, outside the document, so
// it is neither in the undo history nor in the saved text, and the highlighter's colours stay.
#include "LineMarker.h"

#include <algorithm>

#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>

TLineMarker::TLineMarker(QTextEdit *editor) : QObject(editor), Editor(editor) {
  // Any edit ends the mark: the line it named may have moved. Recolouring announces a change
  // of no characters, which leaves it.
  connect(Editor->document(), &QTextDocument::contentsChange, this,
          [this](int, int removed, int added) {
            if (removed != 0 || added != 0) Clear();
          });
}

QColor TLineMarker::MarkColour(TLineMarkKind kind) {
  return kind == TLineMarkKind::lmRunError ? QColor(255, 208, 208) : QColor(255, 240, 176);
}

void TLineMarker::ShowLine(int index, TLineMarkKind kind) {
  QTextDocument *document = Editor->document();
  index = std::clamp(index, 0, std::max(document->blockCount() - 1, 0));
  const QTextBlock block = document->findBlockByNumber(index);
  QTextCursor caret(document);
  caret.setPosition(block.isValid() ? block.position() : 0);
  Editor->setTextCursor(caret);

  QTextEdit::ExtraSelection mark;
  mark.cursor = caret;
  mark.format.setBackground(MarkColour(kind));
  mark.format.setProperty(QTextFormat::FullWidthSelection, true);
  Editor->setExtraSelections({mark});
  Marked = index;
  Kind = kind;

  // Towards the middle: first bring the line into view, then move the view so that the line
  // stands half a view below its top where the text allows it.
  Editor->ensureCursorVisible();
  QScrollBar *bar = Editor->verticalScrollBar();
  const QRect line = Editor->cursorRect(caret);
  const int middle = Editor->viewport()->height() / 2;
  bar->setValue(std::clamp(bar->value() + line.center().y() - middle, bar->minimum(),
                           bar->maximum()));
  Editor->setFocus();
}

void TLineMarker::Clear() {
  if (Marked < 0) return;
  Marked = -1;
  Editor->setExtraSelections({});
}
