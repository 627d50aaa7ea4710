// The strip left of the editor's text: a marker column (breakpoints, the current-statement
// arrow, a run-time error's cross) and the line numbers, grey, the caret's line in bold black,
// in the editor's font and as wide as the line count needs.
#pragma once

#include <QWidget>

class TCodeEditor;

class TGutter final : public QWidget {
  Q_OBJECT
 public:
  explicit TGutter(TCodeEditor *editor);

  // The width for the editor's font and line count.
  int WidthNeeded() const;
  // Width of the marker column at its left.
  int MarkerColumnWidth() const;
  QSize sizeHint() const override { return {WidthNeeded(), 0}; }

  static QColor NumberColour() { return {128, 128, 128}; }

 signals:
  // A click in the marker column beside a line (0-based).
  void MarkerColumnClicked(int line);

 protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;

 private:
  void PaintMarks(QPainter &painter, const QRect &cell, unsigned marks) const;

  TCodeEditor *Editor;
};
