// What the editor window remembers between sessions, in QSettings "Ulvan"/"Ulvan" (the user's
// configuration folder): the editor's font size, the recent files and the find options; the
// window's geometry and the list's height are WindowPlacement's. A value that is missing or
// unreadable gives the default; nothing here fails.
#pragma once

#include <QSettings>
#include <QStringList>

#include "TextSearch.h"

// The settings store of the application.
QSettings UlvanSettings();

class TEditorSettings {
 public:
  static constexpr int RecentFileLimit = 8;

  // The editor's font size in pixels; the default when none or a nonsensical one is stored.
  int FontPixelSize(int defaultSize, int minimum, int maximum) const;
  void SetFontPixelSize(int pixels);

  // Newest first, at most RecentFileLimit, without empty names or repeats.
  QStringList RecentFiles() const;
  // Puts the file first (moving it up when it is already in the list).
  void AddRecentFile(const QString &path);
  void RemoveRecentFile(const QString &path);

  TFindOptions FindOptions() const;
  void SetFindOptions(TFindOptions options);

 private:
  void SetRecentFiles(const QStringList &files);
};
