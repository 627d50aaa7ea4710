#include "CallStackPanel.h"

#include <QHeaderView>

TCallStackPanel::TCallStackPanel(QWidget *parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("CallStackList"));
  setColumnCount(2);
  setHeaderLabels({QStringLiteral("Routine"), QStringLiteral("Line")});
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  header()->setStretchLastSection(true);
  header()->resizeSection(0, 160);
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
    if (item != nullptr) emit FrameSelected(indexOfTopLevelItem(item));
  });
}

void TCallStackPanel::Show(const std::vector<TFrameRow> &frames) {
  const QSignalBlocker quiet(this);
  clear();
  for (const TFrameRow &frame : frames)
    new QTreeWidgetItem(this, {frame.Routine, frame.Line > 0 ? QString::number(frame.Line)
                                                             : QStringLiteral("?")});
  if (topLevelItemCount() > 0) setCurrentItem(topLevelItem(0));
}

int TCallStackPanel::SelectedFrame() const {
  return currentItem() ? indexOfTopLevelItem(currentItem()) : -1;
}
