// The font of the editor and of the console window: a monospace font that is really drawn with
// fixed pitch. Asking for "Courier New" alone is not enough: on a system without it, font
// matching may hand out a proportional substitute.
#pragma once

#include <QFont>

// The first of "Courier New", "DejaVu Sans Mono", "Liberation Mono" and "Noto Sans Mono" that
// the font system reports as fixed-pitch (QFontInfo), else the system's fixed font; `pixelSize`
// pixels high.
QFont EditorFont(int pixelSize);
