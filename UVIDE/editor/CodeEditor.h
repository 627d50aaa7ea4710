// The source editor: a plain-text QTextEdit with a gutter (line numbers and a marker column),
// the caret's line lightly highlighted, the partner of the bracket or BEGIN/END at the caret
// highlighted, Enter keeping the previous line's indentation, and zoom (Ctrl+wheel).
//
// Every decoration is an extra selection (display only): none enters the document, its undo
// history or its modified flag, and none changes the syntax colouring's formats.
//
// Gutter marks (for the debugger and the run flow): per-line marks painted in the marker
// column. Lines are 0-based indexes (QTextBlock numbers). A mark stays with its line's text
// while the text is edited: lines inserted or removed above move it, Enter at the start of the
// line takes it down with the text, joining the line to the one above keeps it on the joined
// line, and removing the line removes it. Replacing the whole text (setPlainText, clear)
// removes every mark; undoing the removal of a line does not bring its marks back. The marks
// live in the blocks' user data (QTextBlock::userData), which is theirs alone.
//   SetLineMark(line, kind)        adds a mark (SetLineMark(line, kind, false) removes it)
//   ClearLineMarks(kind)           removes the mark from every line
//   LinesWithMark(kind)            the marked lines, ascending
//   GutterClicked(line)            signal: the marker column was clicked beside a line
#pragma once

#include <QList>
#include <QTextEdit>
#include <QTimer>

#include <memory>
#include <utility>

#include "GuardedTextEdits.h"
#include "LineMarks.h"

class TGutter;
class TQtRichText;

// The extra selections of the editor, in the order they are painted.
enum class TSelectionLayer { slLineMark, slCurrentLine, slFindMatches, slPartners, slCount };

class TCodeEditor final : public TGuardedTextEdit {
  Q_OBJECT
 public:
  explicit TCodeEditor(QWidget *parent = nullptr);
  ~TCodeEditor() override;

  // ---- gutter marks ----
  void SetLineMark(int line, TGutterMark kind, bool on = true);
  void ClearLineMarks(TGutterMark kind);
  QList<int> LinesWithMark(TGutterMark kind) const;
  bool HasLineMark(int line, TGutterMark kind) const;
  // The marks of a line, one bit per kind (TLineMarks::Bit).
  unsigned LineMarks(int line) const;
  TGutter *Gutter() const { return GutterWidget; }
  // The room the gutter takes left of the text.
  int GutterWidth() const { return viewportMargins().left(); }

  // ---- decorations ----
  void SetSelections(TSelectionLayer layer, const QList<QTextEdit::ExtraSelection> &selections);
  const QList<QTextEdit::ExtraSelection> &Selections(TSelectionLayer layer) const;
  // The syntax colouring, whose comment state tells the partner search what is a comment.
  void SetHighlighter(const TQtRichText *highlighter) { Highlighter = highlighter; }
  // Brings the partner highlighting up to date now instead of after pending events.
  void UpdatePartners();
  static QColor CurrentLineColour() { return {232, 242, 254}; }
  static QColor PartnerColour() { return {180, 228, 180}; }

  // ---- moving around ----
  // Caret to the start of the line (0-based, clamped to the text), no selection, the line
  // scrolled towards the middle of the view, focus to the editor.
  void GoToLine(int line);
  // The word (letters, digits, _) at or just before the caret; empty when there is none.
  QString WordAtCaret() const;

  // ---- zoom ----
  static constexpr int DefaultFontPixelSize = 13;
  static constexpr int MinFontPixelSize = 6;
  static constexpr int MaxFontPixelSize = 48;
  int FontPixelSize() const;
  // Clamped to Min..Max; emits FontPixelSizeChanged when the size changes.
  void SetFontPixelSize(int pixels);
  void ZoomBy(int steps) { SetFontPixelSize(FontPixelSize() + steps); }

  // ---- geometry, for the gutter ----
  QTextBlock FirstVisibleBlock() const;
  // The block's rectangle in viewport coordinates.
  QRect BlockRect(const QTextBlock &block) const;
  // The line at a viewport height, -1 below the text.
  int LineAtY(int y) const;
  // The first and the last line in view, wholly or in part.
  std::pair<int, int> VisibleLines() const;

 signals:
  void GutterClicked(int line);
  void FontPixelSizeChanged(int pixels);

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  void wheelEvent(QWheelEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void changeEvent(QEvent *event) override;

 private:
  void InsertLineBreak();
  void UpdateGutterWidth();
  void CaretMoved();
  void ApplySelections();

  TGutter *GutterWidget = nullptr;
  std::unique_ptr<TLineMarks> Marks;
  const TQtRichText *Highlighter = nullptr;
  QList<QTextEdit::ExtraSelection> Layers[static_cast<int>(TSelectionLayer::slCount)];
  QTimer PartnerTimer;
  int CaretLine = -1;
  int WheelAngle = 0;
};
