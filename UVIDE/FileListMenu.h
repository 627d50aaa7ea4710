// A menu of files: the recent files ("&1 /path/name.pas", newest first) or the examples (their
// names). Disabled while empty.
#pragma once

#include <QMenu>
#include <QStringList>

class TFileListMenu final : public QMenu {
  Q_OBJECT
 public:
  enum class TLabels { flNumberedPaths, flNames };
  TFileListMenu(const QString &title, TLabels labels, QWidget *parent);

  void SetFiles(const QStringList &paths);
  const QStringList &Files() const { return Paths; }

 signals:
  void FileChosen(const QString &path);

 private:
  TLabels Labels;
  QStringList Paths;
};
