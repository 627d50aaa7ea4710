#include "Gutter.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>

#include "CodeEditor.h"

TGutter::TGutter(TCodeEditor *editor) : QWidget(editor), Editor(editor) {
  setObjectName(QStringLiteral("Gutter"));
  setCursor(Qt::ArrowCursor);
}

int TGutter::MarkerColumnWidth() const { return Editor->fontMetrics().height() + 2; }

int TGutter::WidthNeeded() const {
  int digits = 1;
  for (int count = std::max(Editor->document()->blockCount(), 1); count >= 10; count /= 10)
    ++digits;
  // Room for two digits at least, so that the text does not jump at line 10.
  digits = std::max(digits, 2);
  const QFontMetrics metrics(Editor->font());
  return MarkerColumnWidth() + digits * metrics.horizontalAdvance(QLatin1Char('9')) + 8;
}

void TGutter::paintEvent(QPaintEvent *event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), QColor(240, 240, 240));
  painter.setFont(Editor->font());
  const int caretLine = Editor->textCursor().blockNumber();
  const int lineHeight = Editor->fontMetrics().height();
  const int numberRight = width() - 4;
  const int markers = MarkerColumnWidth();
  QFont bold = Editor->font();
  bold.setBold(true);
  for (QTextBlock block = Editor->FirstVisibleBlock(); block.isValid(); block = block.next()) {
    const QRect line = Editor->BlockRect(block);
    if (line.top() > event->rect().bottom()) break;
    if (line.bottom() < event->rect().top()) continue;
    const int number = block.blockNumber();
    const QRect text(0, line.top(), numberRight, lineHeight);
    const bool current = number == caretLine;
    painter.setFont(current ? bold : Editor->font());
    painter.setPen(current ? QColor(Qt::black) : NumberColour());
    painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, QString::number(number + 1));
    if (const unsigned marks = Editor->LineMarks(number))
      PaintMarks(painter, QRect(0, line.top(), markers, lineHeight), marks);
  }
}

void TGutter::PaintMarks(QPainter &painter, const QRect &cell, unsigned marks) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const int side = std::min(cell.width(), cell.height()) - 4;
  const QRectF dot(cell.center().x() - side / 2.0 + 0.5, cell.center().y() - side / 2.0 + 0.5,
                   side, side);
  const QColor red(200, 30, 30);
  if (marks & TLineMarks::Bit(TGutterMark::gmBreakpoint)) {
    painter.setPen(QPen(red.darker(130), 1));
    painter.setBrush(red);
    painter.drawEllipse(dot);
  } else if (marks & TLineMarks::Bit(TGutterMark::gmHollowBreakpoint)) {
    painter.setPen(QPen(red, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(dot.adjusted(1, 1, -1, -1));
  }
  if (marks & TLineMarks::Bit(TGutterMark::gmRunError)) {
    painter.setPen(QPen(QColor(160, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
    const QRectF cross = dot.adjusted(2, 2, -2, -2);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
  }
  if (marks & TLineMarks::Bit(TGutterMark::gmCurrentStatement)) {
    QPainterPath arrow;
    const QRectF r = dot.adjusted(0, 2, 0, -2);
    arrow.moveTo(r.left(), r.top() + r.height() * 0.3);
    arrow.lineTo(r.center().x(), r.top() + r.height() * 0.3);
    arrow.lineTo(r.center().x(), r.top());
    arrow.lineTo(r.right(), r.center().y());
    arrow.lineTo(r.center().x(), r.bottom());
    arrow.lineTo(r.center().x(), r.top() + r.height() * 0.7);
    arrow.lineTo(r.left(), r.top() + r.height() * 0.7);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(120, 100, 0), 1));
    painter.setBrush(QColor(255, 220, 0));
    painter.drawPath(arrow);
  }
  painter.restore();
}

void TGutter::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton || event->position().x() >= MarkerColumnWidth()) {
    QWidget::mousePressEvent(event);
    return;
  }
  const int line = Editor->LineAtY(qRound(event->position().y()));
  if (line >= 0) emit MarkerColumnClicked(line);
}
