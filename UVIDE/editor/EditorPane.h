// The editor with its find bar below it: finding (every match highlighted, Find Next and Find
// Previous going round the ends of the text), replacing one match or all of them as one undo
// step. What the user should read goes out through Message, for the status bar.
//
// Only the matches in view (and a few lines around it) are highlighted at a time, again after
// each scroll: highlighting thousands of matches in a long text at once would take longer
// than the user waits for it, and every edit would pay for it.
#pragma once

#include <QTimer>
#include <QWidget>

#include "TextSearch.h"

class TCodeEditor;
class TFindBar;

class TEditorPane final : public QWidget {
  Q_OBJECT
 public:
  explicit TEditorPane(QWidget *parent = nullptr);

  TCodeEditor *Editor() const { return EditorWidget; }
  TFindBar *FindBar() const { return Bar; }

  // Opens the find bar (with the replace row for Replace); a selection within one line becomes
  // the text to find.
  void OpenFind(bool replace);
  // Closes it, drops the highlighted matches and gives the editor the focus.
  void CloseFind();
  // The next or previous match from the selection; opens the bar when there is nothing to find.
  void FindNext();
  void FindPrevious();
  // Replaces the selected match and selects the next one; without a selected match, only
  // finds the next one. A read-only text is left as it is.
  void ReplaceOne();
  void ReplaceEvery();

  static QColor MatchColour() { return {255, 214, 110}; }

 signals:
  void Message(const QString &text);
  void FindOptionsChanged(TFindOptions options);

 private:
  void HighlightMatches();
  void Find(bool backward, int from);

  TCodeEditor *EditorWidget;
  TFindBar *Bar;
  QTimer RefreshTimer;
  QTimer ScrollTimer;
  // Lines above and below the view whose matches are highlighted too.
  static constexpr int MatchMargin = 20;
};
