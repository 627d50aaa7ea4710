// The desktop's message boxes and file dialogs.
#include "UserDialogs.h"

#include <algorithm>

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace {

const QString PascalFilter =
    QStringLiteral("Pascal Programs (*.pas);;All Files (*)");

QString RunFileDialog(QWidget *owner, QFileDialog::AcceptMode mode, const QString &start) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setNameFilter(PascalFilter);
  dialog.setDefaultSuffix(QStringLiteral("pas"));
  // The window asks about overwriting itself.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (mode == QFileDialog::AcceptOpen && !start.isEmpty()) dialog.setDirectory(start);
  if (mode == QFileDialog::AcceptSave && !start.isEmpty()) dialog.selectFile(start);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

TAnswer Confirm(QWidget *owner, const QString &text, QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, buttons, owner);
  switch (box.exec()) {
    case QMessageBox::Yes: return TAnswer::anYes;
    case QMessageBox::No: return TAnswer::anNo;
    case QMessageBox::Ok: return TAnswer::anOk;
    default: return TAnswer::anCancel;
  }
}

}  // namespace

TAnswer TQtUserDialogs::ConfirmYesNoCancel(const QString &text) {
  return Confirm(Owner, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

TAnswer TQtUserDialogs::ConfirmOkCancel(const QString &text) {
  return Confirm(Owner, text, QMessageBox::Ok | QMessageBox::Cancel);
}

void TQtUserDialogs::Warning(const QString &caption, const QString &text) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, Owner);
  box.exec();
}

void TQtUserDialogs::Error(const QString &caption, const QString &text) {
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, Owner);
  box.exec();
}

QString TQtUserDialogs::OpenFileName(const QString &folder) {
  return RunFileDialog(Owner, QFileDialog::AcceptOpen, folder);
}

QString TQtUserDialogs::SaveFileName(const QString &path) {
  return RunFileDialog(Owner, QFileDialog::AcceptSave, path);
}

bool TQtUserDialogs::AskLineNumber(int current, int last, int &line) {
  bool ok = false;
  const int chosen = QInputDialog::getInt(Owner, QStringLiteral("Go to Line"),
                                          QStringLiteral("Line number (1 - %1):").arg(last),
                                          current, 1, std::max(last, 1), 1, &ok);
  if (ok) line = chosen;
  return ok;
}

QString ChooseSaveName(IUserDialogs &dialogs, const QString &proposed) {
  QString path = proposed;
  for (;;) {
    const QString chosen = dialogs.SaveFileName(path);
    if (chosen.isEmpty()) return {};
    const QFileInfo file(chosen);
    path = file.absoluteFilePath();
    if (QFileInfo(file.absolutePath()).isDir()) return path;
    dialogs.Warning(QStringLiteral("Save As"),
                    QStringLiteral("The folder %1 does not exist.").arg(file.absolutePath()));
  }
}
