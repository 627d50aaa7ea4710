#include "FileListMenu.h"

#include <QFileInfo>

TFileListMenu::TFileListMenu(const QString &title, TLabels labels, QWidget *parent)
    : QMenu(title, parent), Labels(labels) {
  menuAction()->setEnabled(false);
}

void TFileListMenu::SetFiles(const QStringList &paths) {
  Paths = paths;
  clear();
  for (int i = 0; i < paths.size(); ++i) {
    const QString &path = paths[i];
    QString label = Labels == TLabels::flNames ? QFileInfo(path).fileName() : path;
    label.replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (Labels == TLabels::flNumberedPaths) label = QStringLiteral("&%1 %2").arg(i + 1).arg(label);
    QAction *action = addAction(label);
    action->setStatusTip(QStringLiteral("Open ") + path);
    connect(action, &QAction::triggered, this, [this, path] { emit FileChosen(path); });
  }
  menuAction()->setEnabled(!paths.isEmpty());
}
