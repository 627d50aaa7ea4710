// The Language Guide in a window of its own: a search field, the list of entries (filtered by
// the search: an entry stays when its heading or its text holds the searched words) and the
// guide's text. The guide is Markdown compiled into the program (help/LanguageGuide.md).
#pragma once

#include <vector>

#include <QWidget>

#include "GuideIndex.h"

class QLineEdit;
class QListWidget;
class QTextBrowser;

class THelpWindow final : public QWidget {
  Q_OBJECT
 public:
  explicit THelpWindow(QWidget *owner = nullptr);

  // Shows the window at the entry explaining `word`; false when there is none (the window is
  // shown as it was).
  bool ShowWord(const QString &word);
  // Shows the window at an entry, an index of Entries().
  void ShowEntry(int index);
  const std::vector<TGuideEntry> &Entries() const { return EntryList; }
  // The entry shown last, -1 before any.
  int CurrentEntry() const { return Current; }
  // The visible entries after a search, as indexes of Entries().
  std::vector<int> VisibleEntries() const;

  QLineEdit *SearchField = nullptr;
  QListWidget *Topics = nullptr;
  QTextBrowser *Text = nullptr;

 private:
  void Filter(const QString &text);
  void Present();

  std::vector<TGuideEntry> EntryList;
  std::vector<int> HeadingBlocks;  // the block number of each entry's heading
  QStringList Bodies;              // each entry's heading and text, for the search
  int Current = -1;
};
