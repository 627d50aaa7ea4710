// The editor's font: the first candidate that the font system really draws with fixed pitch.
#include "EditorFont.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace {

QFont Monospace(QFont font, int pixelSize) {
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace

QFont EditorFont(int pixelSize) {
  static const char *const Families[] = {"Courier New", "DejaVu Sans Mono", "Liberation Mono",
                                         "Noto Sans Mono"};
  for (const char *family : Families) {
    const QFont font = Monospace(QFont(QString::fromLatin1(family)), pixelSize);
    if (QFontInfo(font).fixedPitch()) return font;
  }
  return Monospace(QFontDatabase::systemFont(QFontDatabase::FixedFont), pixelSize);
}
