#include "WindowPlacement.h"

#include <algorithm>

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTextEdit>

#include "CodeEditor.h"
#include "EditorSettings.h"
#include <QToolBar>

namespace {

const QString GeometryKey = QStringLiteral("MainWindow/Geometry");
const QString ListHeightKey = QStringLiteral("MainWindow/ErrorListHeight");


}  // namespace

QSize PageWindowSize(const QMainWindow &window, const TCodeEditor &editor, int lines, int columns) {
  const QFontMetrics metrics(editor.font());
  const int margin = static_cast<int>(2 * editor.document()->documentMargin());
  const int frame = 2 * editor.frameWidth();
  // The viewport's margins hold the gutter.
  int width = columns * metrics.horizontalAdvance(QLatin1Char('0')) + margin + frame +
              editor.GutterWidth() +
              editor.verticalScrollBar()->sizeHint().width() + editor.cursorWidth();
  int height = lines * metrics.lineSpacing() + margin + frame +
               editor.horizontalScrollBar()->sizeHint().height();
  // The menu bar, the tool bars, the status bar and the splitter's handle above the hidden list.
  height += window.menuBar()->sizeHint().height() + window.statusBar()->sizeHint().height() + 2;
  for (const QToolBar *bar : window.findChildren<QToolBar *>()) height += bar->height();

  const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (screen) {
    const QSize room = screen->availableGeometry().size() * 0.8;
    width = std::min(width, room.width());
    height = std::min(height, room.height());
  }
  return {width, height};
}

int RestorePlacement(QMainWindow &window, int listHeight) {
  const QSettings settings = UlvanSettings();
  window.restoreGeometry(settings.value(GeometryKey).toByteArray());
  return std::max(settings.value(ListHeightKey, listHeight).toInt(), 1);
}

void SavePlacement(const QMainWindow &window, int listHeight) {
  QSettings settings = UlvanSettings();
  settings.setValue(GeometryKey, window.saveGeometry());
  settings.setValue(ListHeightKey, listHeight);
}
