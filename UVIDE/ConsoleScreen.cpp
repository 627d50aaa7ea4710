// The console screen model.
#include "ConsoleScreen.h"

#include <algorithm>

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Bytes of the UTF-8 sequence a byte starts (1 for ASCII and for bytes that start none).
std::size_t SequenceLength(unsigned char b) {
  if (b >= 0xC0 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF7) return 4;
  return 1;
}

// Bytes of the character that starts at `at` (0 at the line end): a lead byte takes the
// continuation bytes that follow it, up to its sequence's length.
std::size_t CharLength(const std::string &line, std::size_t at) {
  if (at >= line.size()) return 0;
  const std::size_t length = SequenceLength(static_cast<unsigned char>(line[at]));
  std::size_t n = 1;
  while (n < length && at + n < line.size() && IsContinuation(static_cast<unsigned char>(line[at + n])))
    ++n;
  return n;
}

// Start of the character that ends at `at` (> 0), by the same rule read backwards: a
// continuation byte belongs to the nearest lead byte before it when the lead's sequence
// reaches that far, and stands alone otherwise.
std::size_t CharStartBefore(const std::string &line, std::size_t at) {
  const std::size_t last = at - 1;
  if (!IsContinuation(static_cast<unsigned char>(line[last]))) return last;
  for (std::size_t q = last; q-- > 0 && last - q <= 3;) {
    const auto b = static_cast<unsigned char>(line[q]);
    if (IsContinuation(b)) continue;
    return SequenceLength(b) >= at - q ? q : last;
  }
  return last;
}

}  // namespace

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
          CursorByte = CharStartBefore(ScreenLines[CursorRow], CursorByte);
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
  if (PendingContinuations > 0 && IsContinuation(b)) {
    line.insert(CursorByte, 1, c);
    ++CursorByte;
    --PendingContinuations;
  } else {
    line.replace(CursorByte, CharLength(line, CursorByte), 1, c);
    ++CursorByte;
    ++CursorColumn;
    PendingContinuations = SequenceLength(b) - 1;
  }
  Touch(CursorRow);
}

void TConsoleScreen::Tab() {
  const std::size_t next = (CursorColumn / 8 + 1) * 8;
  std::string &line = ScreenLines[CursorRow];
  while (CursorColumn < next && CursorByte < line.size()) {
    CursorByte += CharLength(line, CursorByte);
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
