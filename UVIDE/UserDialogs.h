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
  // The file chosen in the open dialog, empty when cancelled.
  virtual QString OpenFileName() = 0;
  // The file chosen in the save dialog, empty when cancelled.
  virtual QString SaveFileName() = 0;
};

// The dialogs of the desktop, parented to `owner`.
class TQtUserDialogs final : public IUserDialogs {
 public:
  explicit TQtUserDialogs(QWidget *owner) : Owner(owner) {}
  TAnswer ConfirmYesNoCancel(const QString &text) override;
  TAnswer ConfirmOkCancel(const QString &text) override;
  void Warning(const QString &caption, const QString &text) override;
  void Error(const QString &caption, const QString &text) override;
  QString OpenFileName() override;
  QString SaveFileName() override;

 private:
  QWidget *Owner;
};
