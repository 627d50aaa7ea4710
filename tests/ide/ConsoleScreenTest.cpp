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
      // A UTF-8 sequence is one column, also when its bytes come one write at a time.
      {"\xc3\xa9x", "\xc3\xa9x", 0, 2},
      {"a\xc3\xa9\b \b", "a ", 0, 1},       // the erasing of a whole character
      {"\xe2\x82\xac\xf0\x9f\x98\x80\b\b", "\xe2\x82\xac\xf0\x9f\x98\x80", 0, 0},
      {"ab\xc3\xa9\rxy\xe2\x82\xac", "xy\xe2\x82\xac", 0, 3},  // overwritten whole
      {"\xc3\xa9\xc3\xa9\r\t|", "\xc3\xa9\xc3\xa9      |", 0, 9},
      // Bytes that start no sequence, or are left over, are a column each.
      {"\xa9\xc3\xc3\xa9\xa9\b\b", "\xa9\xc3\xc3\xa9\xa9", 0, 2},
      {"\xe9t\xe9\b", "\xe9t\xe9", 0, 2},
      {"\xc3\b\xa9", "\xa9", 0, 1},     // a backspace ends the sequence
  };
  for (const TCase &c : cases) {
    for (const bool byteByByte : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.Written << (byteByByte ? " byte by byte" : ""));
      TConsoleScreen screen;
      const std::string_view written = c.Written;
      if (byteByByte)
        for (std::size_t i = 0; i < written.size(); ++i) screen.Write(written.substr(i, 1));
      else
        screen.Write(written);
      EXPECT_EQ(screen.Text(), c.Text);
      EXPECT_EQ(screen.Row(), c.Row);
      EXPECT_EQ(screen.Column(), c.Column);
    }
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
