// The console screen model.
#include "ConsoleScreen.h"

#include <algorithm>

#include "Utf8.h"


void TConsoleScreen::Clear() {
  ScreenLines.assign(1, std::string());
  CursorRow = 0;
  CursorColumn = 0;
  CursorByte = 0;
  PendingContinuations = 0;
  FirstChanged = 0;
}

void TConsoleScreen::Touch(std::size_t row) { FirstChanged = std::min(FirstChanged, row); }

std::size_t TConsoleScreen::TakeFirstChangedRow() {
  const std::size_t row = FirstChanged;
  FirstChanged = ScreenLines.size();
  return row;
}

// The cursor never stands beyond the end of its line: only tabs move it past the text, and
// they fill the gap with blanks.
void TConsoleScreen::Write(std::string_view bytes) {
  for (const char c : bytes) {
    if (c != '\r' && c != '\n' && c != '\b' && c != '\a' && c != '\t') {
      PutChar(c);
      continue;
    }
    PendingContinuations = 0;
    switch (c) {
      case '\r':
        CursorColumn = 0;
        CursorByte = 0;
        break;
      case '\n':
        ++CursorRow;
        CursorColumn = 0;
        CursorByte = 0;
        if (CursorRow == ScreenLines.size()) {
          ScreenLines.emplace_back();
          Touch(CursorRow);
        }
        break;
      case '\b':
        if (CursorByte > 0) {
          CursorByte = Utf8CharStartBefore(ScreenLines[CursorRow], CursorByte);
          if (CursorColumn > 0) --CursorColumn;
        }
        break;
      case '\t':
        Tab();
        break;
      default:  // the bell shows nothing
        break;
    }
  }
}

void TConsoleScreen::PutChar(char c) {
  std::string &line = ScreenLines[CursorRow];
  const auto b = static_cast<unsigned char>(c);
  if (PendingContinuations > 0 && IsUtf8Continuation(b)) {
    line.insert(CursorByte, 1, c);
    ++CursorByte;
    --PendingContinuations;
  } else {
    line.replace(CursorByte, Utf8CharLength(line, CursorByte), 1, c);
    ++CursorByte;
    ++CursorColumn;
    PendingContinuations = Utf8SequenceLength(b) - 1;
  }
  Touch(CursorRow);
}

void TConsoleScreen::Tab() {
  const std::size_t next = (CursorColumn / 8 + 1) * 8;
  std::string &line = ScreenLines[CursorRow];
  while (CursorColumn < next && CursorByte < line.size()) {
    CursorByte += Utf8CharLength(line, CursorByte);
    ++CursorColumn;
  }
  if (CursorColumn < next) {
    line.append(next - CursorColumn, ' ');
    CursorByte = line.size();
    CursorColumn = next;
    Touch(CursorRow);
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
