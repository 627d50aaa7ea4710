// Where and how large the main window opens: large enough for a page of source at the first
// start, then as the user left it (geometry and the diagnostics list's height, in QSettings
// "Ulvan"/"Ulvan").
#pragma once

#include <QSize>

class QMainWindow;
class TCodeEditor;

// The window size that shows `lines` lines of `columns` columns of the editor's font, at most
// 80 % of the screen's available size in each direction.
QSize PageWindowSize(const QMainWindow &window, const TCodeEditor &editor, int lines, int columns);

// Restores the geometry saved by SavePlacement and gives back the list height saved with it,
// or `listHeight` when nothing was saved.
int RestorePlacement(QMainWindow &window, int listHeight);
void SavePlacement(const QMainWindow &window, int listHeight);
