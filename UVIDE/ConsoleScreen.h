// The text a run's console window shows: lines of bytes and a cursor, moved by the bytes a
// program writes the way a console moves it (CR to the line start, LF to the next line,
// backspace one column back, tab to the next multiple of 8; other bytes overwrite).
//
// A column holds one character: a UTF-8 sequence (a lead byte and the continuation bytes that
// follow it, also when they arrive in separate writes) or any other single byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TConsoleScreen {
 public:
  TConsoleScreen() { Clear(); }

  void Clear();
  void Write(std::string_view bytes);

  const std::vector<std::string> &Lines() const { return ScreenLines; }
  std::size_t Row() const { return CursorRow; }
  // The cursor's column in characters, and its offset in the bytes of its line.
  std::size_t Column() const { return CursorColumn; }
  std::size_t ColumnByte() const { return CursorByte; }
  // The first line changed since the last TakeFirstChangedRow (Lines().size() when none).
  std::size_t TakeFirstChangedRow();
  // All lines joined by LF.
  std::string Text() const;

 private:
  void Touch(std::size_t row);
  void PutChar(char c);
  void Tab();

  std::vector<std::string> ScreenLines;
  std::size_t CursorRow = 0;
  std::size_t CursorColumn = 0;
  std::size_t CursorByte = 0;
  std::size_t PendingContinuations = 0;  // still awaited by the character left of the cursor
  std::size_t FirstChanged = 0;
};
