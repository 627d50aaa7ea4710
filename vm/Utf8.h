// Characters in byte strings: a key outside ASCII reaches a console as its UTF-8 bytes. A lead
// byte and the continuation bytes that follow it, up to its sequence's length, are one
// character; any other byte is a character of its own.
#pragma once

#include <cstddef>
#include <string_view>

inline bool IsUtf8Continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Bytes of the UTF-8 sequence a byte starts: 1 for ASCII and for bytes that start none.
inline std::size_t Utf8SequenceLength(unsigned char b) {
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 1;
}

// Bytes of the character that starts at `at` (0 at the end).
inline std::size_t Utf8CharLength(std::string_view text, std::size_t at) {
  if (at >= text.size()) return 0;
  const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[at]));
  std::size_t n = 1;
  while (n < length && at + n < text.size() &&
         IsUtf8Continuation(static_cast<unsigned char>(text[at + n])))
    ++n;
  return n;
}

// Start of the character that ends at `end` (> 0): the same rule read backwards.
inline std::size_t Utf8CharStartBefore(std::string_view text, std::size_t end) {
  const std::size_t last = end - 1;
  if (!IsUtf8Continuation(static_cast<unsigned char>(text[last]))) return last;
  for (std::size_t q = last; q-- > 0 && last - q <= 3;) {
    const auto b = static_cast<unsigned char>(text[q]);
    if (IsUtf8Continuation(b)) continue;
    return Utf8SequenceLength(b) >= end - q ? q : last;
  }
  return last;
}
