// The find bar under the editor: the text to find with Match case and Whole word, Previous and
// Next, and (for Replace) the replacement with Replace and Replace All. Escape closes it.
// The bar only collects the user's wishes; TEditorPane carries them out.
#pragma once

#include <QWidget>

#include "TextSearch.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFindBar final : public QWidget {
  Q_OBJECT
 public:
  explicit TFindBar(QWidget *parent = nullptr);

  QString FindText() const;
  QString ReplaceText() const;
  TFindOptions Options() const;
  void SetOptions(TFindOptions options);
  // Shows the bar, with the replace row or without, the find field focused and selected;
  // `text`, when not empty, becomes the text to find.
  void Open(bool replace, const QString &text);
  bool ReplaceShown() const;

  QLineEdit *FindField = nullptr;
  QLineEdit *ReplaceField = nullptr;
  QCheckBox *MatchCase = nullptr;
  QCheckBox *WholeWord = nullptr;
  QPushButton *NextButton = nullptr;
  QPushButton *PreviousButton = nullptr;
  QPushButton *ReplaceButton = nullptr;
  QPushButton *ReplaceAllButton = nullptr;
  QPushButton *CloseButton = nullptr;

 signals:
  void FindTextChanged();
  void OptionsChanged();
  void NextRequested();
  void PreviousRequested();
  void ReplaceRequested();
  void ReplaceAllRequested();
  void CloseRequested();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  QLabel *ReplaceLabel = nullptr;
};
