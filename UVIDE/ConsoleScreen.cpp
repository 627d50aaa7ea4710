// The console screen model.
#include "ConsoleScreen.h"

#include <algorithm>

void TConsoleScreen::Clear() {
  ScreenLines.assign(1, std::string());
  CursorRow = 0;
  CursorColumn = 0;
  FirstChanged = 0;
}

void TConsoleScreen::Touch(std::size_t row) { FirstChanged = std::min(FirstChanged, row); }

std::size_t TConsoleScreen::TakeFirstChangedRow() {
  const std::size_t row = FirstChanged;
  FirstChanged = ScreenLines.size();
  return row;
}

void TConsoleScreen::Write(std::string_view bytes) {
  for (const char c : bytes) {
    switch (c) {
      case '\r':
        CursorColumn = 0;
        break;
      case '\n':
        ++CursorRow;
        CursorColumn = 0;
        if (CursorRow == ScreenLines.size()) {
          ScreenLines.emplace_back();
          Touch(CursorRow);
        }
        break;
      case '\b':
        if (CursorColumn > 0) --CursorColumn;
        break;
      case '\a':
        break;
      case '\t': {
        const std::size_t next = (CursorColumn / 8 + 1) * 8;
        std::string &line = ScreenLines[CursorRow];
        if (line.size() < next) line.resize(next, ' ');
        CursorColumn = next;
        Touch(CursorRow);
        break;
      }
      default: {
        std::string &line = ScreenLines[CursorRow];
        if (CursorColumn < line.size()) line[CursorColumn] = c;
        else {
          line.resize(CursorColumn, ' ');
          line.push_back(c);
        }
        ++CursorColumn;
        Touch(CursorRow);
        break;
      }
    }
  }
}

std::string TConsoleScreen::Text() const {
  std::string text;
  for (std::size_t i = 0; i < ScreenLines.size(); ++i) {
    if (i > 0) text.push_back('\n');
    text += ScreenLines[i];
  }
  return text;
}
