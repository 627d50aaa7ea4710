// The marked line is an extra selection of the editor: display only, outside the document, so
// it is neither in the undo history nor in the saved text, and the highlighter's colours stay.
#include "LineMarker.h"

#include <QTextBlock>

#include "CodeEditor.h"

TLineMarker::TLineMarker(TCodeEditor *editor) : QObject(editor), Editor(editor) {
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
  Editor->GoToLine(index);
  QTextEdit::ExtraSelection mark;
  mark.cursor = Editor->textCursor();
  mark.format.setBackground(MarkColour(kind));
  mark.format.setProperty(QTextFormat::FullWidthSelection, true);
  Marked = mark.cursor.blockNumber();
  Kind = kind;
  Editor->SetSelections(TSelectionLayer::slLineMark, {mark});
}

void TLineMarker::Clear() {
  if (Marked < 0) return;
  Marked = -1;
  Editor->SetSelections(TSelectionLayer::slLineMark, {});
}
