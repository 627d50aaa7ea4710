// The text widgets of the windows. Qt 6.4 crashes in QWidgetTextControl::insertFromMimeData
// when it is handed clipboard data without text, which is what an empty X11 clipboard gives
// to Paste; these widgets refuse such data before it gets there.
#pragma once

#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

template <typename TEdit>
class TGuardedEdit : public TEdit {
 public:
  using TEdit::TEdit;

 protected:
  bool canInsertFromMimeData(const QMimeData *source) const override {
    return HoldsText(source) && TEdit::canInsertFromMimeData(source);
  }
  void insertFromMimeData(const QMimeData *source) override {
    if (HoldsText(source)) TEdit::insertFromMimeData(source);
  }

 private:
  static bool HoldsText(const QMimeData *source) { return source != nullptr && source->hasText(); }
};

using TGuardedTextEdit = TGuardedEdit<QTextEdit>;
using TGuardedPlainTextEdit = TGuardedEdit<QPlainTextEdit>;
