// The questions and messages the editor window puts to the user, behind an interface so that
// tests can answer them.
#pragma once

#include <QString>

class QWidget;

enum class TAnswer { anYes, anNo, anOk, anCancel };

class IUserDialogs {
 public:
  virtual ~IUserDialogs() = default;
  // Confirmation captioned "Confirm" with a question icon and the buttons Yes, No, Cancel.
  virtual TAnswer ConfirmYesNoCancel(const QString &text) = 0;
  // Confirmation captioned "Confirm" with a question icon and the buttons OK, Cancel.
  virtual TAnswer ConfirmOkCancel(const QString &text) = 0;
  // A message box with a warning icon.
  virtual void Warning(const QString &caption, const QString &text) = 0;
  // A message box with an error icon and an OK button.
  virtual void Error(const QString &caption, const QString &text) = 0;
  // The file chosen in the open dialog, which starts in `folder` (empty: the current folder);
  // empty when cancelled.
  virtual QString OpenFileName(const QString &folder) = 0;
  // The file chosen in the save dialog, which proposes `path` (empty: nothing); empty when
  // cancelled.
  virtual QString SaveFileName(const QString &path) = 0;
  // The line number asked for with "Go to Line", proposing `current`, from 1 to `last`; false
  // when cancelled.
  virtual bool AskLineNumber(int current, int last, int &line) = 0;
};

// The absolute path chosen in the save dialog, asked again (after a warning) while the chosen
// folder does not exist; empty when cancelled.
QString ChooseSaveName(IUserDialogs &dialogs, const QString &proposed);

// The dialogs of the desktop, parented to `owner`.
class TQtUserDialogs final : public IUserDialogs {
 public:
  explicit TQtUserDialogs(QWidget *owner) : Owner(owner) {}
  TAnswer ConfirmYesNoCancel(const QString &text) override;
  TAnswer ConfirmOkCancel(const QString &text) override;
  void Warning(const QString &caption, const QString &text) override;
  void Error(const QString &caption, const QString &text) override;
  QString OpenFileName(const QString &folder) override;
  QString SaveFileName(const QString &path) override;
  bool AskLineNumber(int current, int last, int &line) override;

 private:
  QWidget *Owner;
};
