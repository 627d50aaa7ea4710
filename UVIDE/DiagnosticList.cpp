#include "DiagnosticList.h"

#include <algorithm>

#include <QKeyEvent>
#include <QStyle>

#include "DiagnosticHints.h"
#include "SourceText.h"

namespace {

constexpr int KindRole = Qt::UserRole;
constexpr int HintRole = Qt::UserRole + 1;
constexpr int LineRole = Qt::UserRole + 2;

TDiagnosticKind KindOf(const QListWidgetItem *item) {
  return static_cast<TDiagnosticKind>(item->data(KindRole).toInt());
}

}  // namespace

TDiagnosticList::TDiagnosticList(QWidget *parent) : QListWidget(parent) {
  setWordWrap(true);
  setResizeMode(QListView::Adjust);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setIconSize(QSize(16, 16));
  connect(this, &QListWidget::itemDoubleClicked, this, &TDiagnosticList::JumpRequested);
}

void TDiagnosticList::SetLines(const std::vector<std::string> &lines) {
  clear();
  for (const std::string &line : lines) {
    const TDiagnosticParts parts = SplitDiagnostic(line);
    const TDiagnosticKind kind = parts.Kind;
    auto *item = new QListWidgetItem(BytesToText(line), this);
    item->setData(KindRole, static_cast<int>(kind));
    item->setData(HintRole, QString::fromUtf8(DiagnosticHint(parts.Message)));
    item->setData(LineRole, parts.Line);
    item->setToolTip(item->text());
    switch (kind) {
      case TDiagnosticKind::dkError:
        item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxCritical));
        item->setForeground(QColor(160, 0, 0));
        break;
      case TDiagnosticKind::dkWarning:
        item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
        item->setForeground(QColor(140, 80, 0));
        break;
      case TDiagnosticKind::dkHint:
        item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
        item->setForeground(QColor(0, 70, 140));
        break;
      case TDiagnosticKind::dkOther:
        break;
    }
  }
}

int TDiagnosticList::FirstErrorRow() const {
  for (int row = 0; row < count(); ++row)
    if (KindOf(item(row)) == TDiagnosticKind::dkError) return row;
  return -1;
}

int TDiagnosticList::LineOf(int row) const {
  const QListWidgetItem *at = item(row);
  return at ? at->data(LineRole).toInt() : 0;
}

int TDiagnosticList::FittingHeight() {
  if (count() == 0) return 0;
  doItemsLayout();
  int height = 2 * frameWidth();
  for (int row = 0; row < std::min(count(), FittingRows); ++row)
    height += visualItemRect(item(row)).height() + 2 * spacing();
  return height;
}

QString TDiagnosticList::CurrentHint() const {
  const QListWidgetItem *current = currentItem();
  return current ? current->data(HintRole).toString() : QString();
}

void TDiagnosticList::keyPressEvent(QKeyEvent *event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    emit JumpRequested();
    return;
  }
  QListWidget::keyPressEvent(event);
}
