// The console window's screen model: how written bytes move the cursor and change the lines.
#include <gtest/gtest.h>

#include "ConsoleScreen.h"

TEST(ConsoleScreen, WrittenBytesMoveTheCursorAsAConsoleDoes) {
  struct TCase {
    const char *Written;
    const char *Text;
    std::size_t Row, Column;
  };
  const TCase cases[] = {
      {"Hello\r\n", "Hello\n", 1, 0},
      {"ab\b \bc", "ac", 0, 2},            // the interpreter's erasing of one character
      {"\b\bx", "x", 0, 1},                // backspace stops at the line start
      {"abc\rX", "Xbc", 0, 1},             // CR returns to the line start, then overwrites
      {"a\tb", "a       b", 0, 9},         // tab to the next multiple of 8
      {"one\ntwo", "one\ntwo", 1, 3},      // LF alone starts the next line
      {"a\a", "a", 0, 1},                  // the bell shows nothing
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Written);
    TConsoleScreen screen;
    screen.Write(c.Written);
    EXPECT_EQ(screen.Text(), c.Text);
    EXPECT_EQ(screen.Row(), c.Row);
    EXPECT_EQ(screen.Column(), c.Column);
  }
}

TEST(ConsoleScreen, ReportsTheFirstChangedLine) {
  TConsoleScreen screen;
  screen.Write("a\r\nb\r\n");
  EXPECT_EQ(screen.TakeFirstChangedRow(), 0u);
  EXPECT_EQ(screen.TakeFirstChangedRow(), 3u);  // nothing changed since
  screen.Write("c");
  EXPECT_EQ(screen.TakeFirstChangedRow(), 2u);
}
