// The rich-text control as the highlighter sees it: lines, character positions, a selection
// with font style and colour, and the control's change handler, enabled state and focus.
// Character positions count every character of the text, a line break as one.
#pragma once

#include <cstdint>
#include <string>

// A colour as red | green << 8 | blue << 16.
using TColor = std::uint32_t;
constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor(r) | TColor(g) << 8 | TColor(b) << 16;
}
// The colour of text that was never given one: the control's own text colour.
constexpr TColor clDefault = 0x20000000;

using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

// The attributes that are the same over a whole selection.
using TConsistentAttributes = std::uint8_t;
constexpr TConsistentAttributes caBold = 1;
constexpr TConsistentAttributes caColor = 2;
constexpr TConsistentAttributes caItalic = 4;
constexpr TConsistentAttributes caUnderline = 8;
constexpr TConsistentAttributes caStrikeOut = 16;

class IRichText {
 public:
  virtual ~IRichText() = default;

  // The text has at least one line; lines hold no line breaks and do not wrap.
  virtual int LineCount() const = 0;
  // The line's characters, one byte each; characters outside ASCII may come as any byte of
  // 128 or more.
  virtual std::string LineText(int line) const = 0;
  // Position of the line's first character.
  virtual int LineIndex(int line) const = 0;
  // Line of a character position; positions past the end belong to the last line.
  virtual int LineFromChar(int position) const = 0;

  virtual int SelStart() const = 0;
  // Moves the selection start; the selection becomes empty.
  virtual void SetSelStart(int position) = 0;
  virtual void SetSelLength(int length) = 0;

  // Attributes of the selection (of its first character where they are not uniform).
  virtual TFontStyles SelStyle() const = 0;
  virtual void SetSelStyle(TFontStyles style) = 0;
  virtual TColor SelColor() const = 0;
  virtual void SetSelColor(TColor color) = 0;
  virtual TConsistentAttributes SelConsistentAttributes() const = 0;

  virtual bool ChangeHandlerAttached() const = 0;
  virtual void SetChangeHandlerAttached(bool attached) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetFocus() = 0;
};
