// The Variables panel: a tree of names and values, children fetched when a row is first
// expanded, values changed since the previous stop in red. Rows that were expanded stay
// expanded from stop to stop.
#pragma once

#include <functional>
#include <vector>

#include <QSet>
#include <QString>
#include <QTreeWidget>

struct TVariableRow {
  QString Name;
  QString Value;
  QString Type;
  bool Changed = false;
  // The rows under this one, asked for at its first expansion; none: a leaf.
  std::function<std::vector<TVariableRow>()> Children;
};

class TVariablesPanel final : public QTreeWidget {
  Q_OBJECT
 public:
  static inline const QString GlobalsCaption = QStringLiteral("Globals");

  explicit TVariablesPanel(QWidget *parent = nullptr);

  // The selected frame's parameters and locals, then the globals under a row of their own
  // (none when `globals` is empty).
  void Show(std::vector<TVariableRow> locals, std::vector<TVariableRow> globals);
  void Clear();

  // The row at a path of names ("r/next"), nullptr when there is none. Expands nothing.
  QTreeWidgetItem *Find(const QString &path) const;
  static bool IsChanged(const QTreeWidgetItem *item);

 private:
  void Add(QTreeWidgetItem *parent, TVariableRow row);
  void Expanded(QTreeWidgetItem *item);
  void Collapsed(QTreeWidgetItem *item);
  static QString PathOf(const QTreeWidgetItem *item);
  static bool IsGlobalsRow(const QTreeWidgetItem *item);
  void Reexpand(QTreeWidgetItem *item);

  // What fetches the children of each row not yet expanded.
  std::vector<std::function<std::vector<TVariableRow>()>> Fetchers;
  QSet<QString> ExpandedPaths;
  bool GlobalsClosed = false;  // the user closed the globals' row; they start open
  bool Filling = false;
};
