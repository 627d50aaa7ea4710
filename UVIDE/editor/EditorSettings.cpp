#include "EditorSettings.h"

namespace {

const QString FontSizeKey = QStringLiteral("Editor/FontPixelSize");
const QString RecentKey = QStringLiteral("Editor/RecentFiles");
const QString MatchCaseKey = QStringLiteral("Find/MatchCase");
const QString WholeWordKey = QStringLiteral("Find/WholeWord");

bool BoolOr(const QSettings &settings, const QString &key, bool fallback) {
  const QVariant value = settings.value(key);
  return value.canConvert<bool>() ? value.toBool() : fallback;
}

}  // namespace

QSettings UlvanSettings() { return QSettings(QStringLiteral("Ulvan"), QStringLiteral("Ulvan")); }

int TEditorSettings::FontPixelSize(int defaultSize, int minimum, int maximum) const {
  bool ok = false;
  const int pixels = UlvanSettings().value(FontSizeKey).toInt(&ok);
  return ok && pixels >= minimum && pixels <= maximum ? pixels : defaultSize;
}

void TEditorSettings::SetFontPixelSize(int pixels) { UlvanSettings().setValue(FontSizeKey, pixels); }

QStringList TEditorSettings::RecentFiles() const {
  QStringList files;
  for (const QString &file : UlvanSettings().value(RecentKey).toStringList())
    if (!file.isEmpty() && !files.contains(file) && files.size() < RecentFileLimit) files << file;
  return files;
}

void TEditorSettings::SetRecentFiles(const QStringList &files) {
  UlvanSettings().setValue(RecentKey, files);
}

void TEditorSettings::AddRecentFile(const QString &path) {
  QStringList files = RecentFiles();
  files.removeAll(path);
  files.prepend(path);
  SetRecentFiles(files.mid(0, RecentFileLimit));
}

void TEditorSettings::RemoveRecentFile(const QString &path) {
  QStringList files = RecentFiles();
  files.removeAll(path);
  SetRecentFiles(files);
}

TFindOptions TEditorSettings::FindOptions() const {
  const QSettings settings = UlvanSettings();
  return {BoolOr(settings, MatchCaseKey, false), BoolOr(settings, WholeWordKey, false)};
}

void TEditorSettings::SetFindOptions(TFindOptions options) {
  QSettings settings = UlvanSettings();
  settings.setValue(MatchCaseKey, options.MatchCase);
  settings.setValue(WholeWordKey, options.WholeWord);
}
