#include "VariablesPanel.h"

#include <QHeaderView>

namespace {

constexpr int FetcherRole = Qt::UserRole;      // index into Fetchers, -1 once fetched
constexpr int ChangedRole = Qt::UserRole + 1;
constexpr int GroupRole = Qt::UserRole + 2;       // the row holding the globals

QTreeWidgetItem *ChildNamed(const QTreeWidgetItem *parent, const QString &name) {
  for (int i = 0; i < parent->childCount(); ++i)
    if (parent->child(i)->text(0) == name) return parent->child(i);
  return nullptr;
}

}  // namespace

TVariablesPanel::TVariablesPanel(QWidget *parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("VariablesTree"));
  setColumnCount(3);
  setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value"), QStringLiteral("Type")});
  setUniformRowHeights(true);
  setAlternatingRowColors(true);
  header()->setStretchLastSection(true);
  header()->resizeSection(0, 120);
  header()->resizeSection(1, 160);
  connect(this, &QTreeWidget::itemExpanded, this, &TVariablesPanel::Expanded);
  connect(this, &QTreeWidget::itemCollapsed, this, &TVariablesPanel::Collapsed);
}

void TVariablesPanel::Clear() {
  clear();
  Fetchers.clear();
}

void TVariablesPanel::Show(std::vector<TVariableRow> locals, std::vector<TVariableRow> globals) {
  Filling = true;
  Clear();
  QTreeWidgetItem *root = invisibleRootItem();
  for (TVariableRow &row : locals) Add(root, std::move(row));
  if (!globals.empty()) {
    auto *group = new QTreeWidgetItem(root, {GlobalsCaption});
    QFont bold = group->font(0);
    bold.setBold(true);
    group->setFont(0, bold);
    group->setData(0, FetcherRole, -1);
    group->setData(0, GroupRole, true);
    for (TVariableRow &row : globals) Add(group, std::move(row));
    group->setExpanded(!GlobalsClosed);
  }
  Reexpand(root);
  Filling = false;
}

void TVariablesPanel::Add(QTreeWidgetItem *parent, TVariableRow row) {
  auto *item = new QTreeWidgetItem(parent, {row.Name, row.Value, row.Type});
  item->setData(0, ChangedRole, row.Changed);
  if (row.Changed) item->setForeground(1, QColor(210, 0, 0));
  item->setToolTip(1, row.Value);
  if (row.Children) {
    item->setData(0, FetcherRole, static_cast<int>(Fetchers.size()));
    Fetchers.push_back(std::move(row.Children));
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  } else {
    item->setData(0, FetcherRole, -1);
  }
}

void TVariablesPanel::Expanded(QTreeWidgetItem *item) {
  const int fetcher = item->data(0, FetcherRole).toInt();
  if (fetcher >= 0 && fetcher < static_cast<int>(Fetchers.size())) {
    item->setData(0, FetcherRole, -1);
    auto fetch = std::move(Fetchers[static_cast<std::size_t>(fetcher)]);
    for (TVariableRow &row : fetch()) Add(item, std::move(row));
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  }
  if (IsGlobalsRow(item)) GlobalsClosed = false;
  else ExpandedPaths.insert(PathOf(item));
  if (!Filling) Reexpand(item);
}

void TVariablesPanel::Collapsed(QTreeWidgetItem *item) {
  if (IsGlobalsRow(item)) GlobalsClosed = true;
  else ExpandedPaths.remove(PathOf(item));
}

bool TVariablesPanel::IsGlobalsRow(const QTreeWidgetItem *item) {
  return item->parent() == nullptr && item->data(0, GroupRole).toBool();
}

void TVariablesPanel::Reexpand(QTreeWidgetItem *item) {
  for (int i = 0; i < item->childCount(); ++i) {
    QTreeWidgetItem *child = item->child(i);
    if (ExpandedPaths.contains(PathOf(child))) child->setExpanded(true);
    if (child->isExpanded()) Reexpand(child);
  }
}

QString TVariablesPanel::PathOf(const QTreeWidgetItem *item) {
  QString path = item->text(0);
  for (const QTreeWidgetItem *up = item->parent(); up != nullptr; up = up->parent())
    path = up->text(0) + QLatin1Char('/') + path;
  return path;
}

QTreeWidgetItem *TVariablesPanel::Find(const QString &path) const {
  const QTreeWidgetItem *item = invisibleRootItem();
  for (const QString &name : path.split(QLatin1Char('/'))) {
    item = ChildNamed(item, name);
    if (item == nullptr) return nullptr;
  }
  return const_cast<QTreeWidgetItem *>(item);
}

bool TVariablesPanel::IsChanged(const QTreeWidgetItem *item) {
  return item->data(0, ChangedRole).toBool();
}
