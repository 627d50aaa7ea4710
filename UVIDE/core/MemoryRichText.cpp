// The in-memory rich-text control.
#include "MemoryRichText.h"

#include <algorithm>

TMemoryRichText::TMemoryRichText(std::string_view text) { SetText(text); }

void TMemoryRichText::SetText(std::string_view text) {
  Chars.assign(text);
  Attrs.assign(Chars.size(), TCharAttr{});
  SelBegin = SelLen = 0;
  IndexLines();
}

void TMemoryRichText::IndexLines() {
  Starts.assign(1, 0);
  for (std::size_t i = 0; i < Chars.size(); ++i)
    if (Chars[i] == '\n') Starts.push_back(static_cast<int>(i) + 1);
}

int TMemoryRichText::Clamp(int position) const {
  return std::clamp(position, 0, static_cast<int>(Chars.size()));
}

std::vector<std::string> TMemoryRichText::Lines() const {
  std::vector<std::string> lines;
  for (int i = 0; i < LineCount(); ++i) lines.push_back(LineText(i));
  return lines;
}

void TMemoryRichText::Replace(int start, int end, std::string_view text) {
  start = Clamp(start);
  end = std::max(Clamp(end), start);
  bool allow = true;
  if (OnProtectChange) OnProtectChange(start, end, allow);
  if (!allow) return;
  const int countBefore = LineCount();
  const TCharAttr inherited = start > 0 ? Attrs[static_cast<std::size_t>(start) - 1] : TCharAttr{};
  const auto s = static_cast<std::size_t>(start), e = static_cast<std::size_t>(end);
  Chars.replace(s, e - s, text);
  Attrs.erase(Attrs.begin() + start, Attrs.begin() + end);
  Attrs.insert(Attrs.begin() + start, text.size(), inherited);
  IndexLines();
  SelBegin = start + static_cast<int>(text.size());
  SelLen = 0;
  if (OnContentsChange) OnContentsChange(start, end - start, static_cast<int>(text.size()), countBefore);
  if (OnChange && HandlerAttached) OnChange();
}

TMemoryRichText::TCharAttr TMemoryRichText::Attr(int position) const {
  if (position < 0 || position >= static_cast<int>(Attrs.size())) return {};
  return Attrs[static_cast<std::size_t>(position)];
}

int TMemoryRichText::LineCount() const { return static_cast<int>(Starts.size()); }

std::string TMemoryRichText::LineText(int line) const {
  if (line < 0 || line >= LineCount()) return {};
  const int from = Starts[static_cast<std::size_t>(line)];
  const int to = line + 1 < LineCount() ? Starts[static_cast<std::size_t>(line) + 1] - 1
                                        : static_cast<int>(Chars.size());
  return Chars.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

int TMemoryRichText::LineIndex(int line) const {
  if (line < 0 || line >= LineCount()) return -1;
  return Starts[static_cast<std::size_t>(line)];
}

int TMemoryRichText::LineFromChar(int position) const {
  auto it = std::upper_bound(Starts.begin(), Starts.end(), Clamp(position));
  return static_cast<int>(it - Starts.begin()) - 1;
}

void TMemoryRichText::SetSelStart(int position) {
  SelBegin = Clamp(position);
  SelLen = 0;
}

void TMemoryRichText::SetSelLength(int length) {
  SelLen = std::clamp(length, 0, static_cast<int>(Chars.size()) - SelBegin);
}

TFontStyles TMemoryRichText::SelStyle() const { return Attr(SelBegin).Style; }
TColor TMemoryRichText::SelColor() const { return Attr(SelBegin).Color; }

void TMemoryRichText::SetSelStyle(TFontStyles style) {
  ++Writes;
  for (int i = SelBegin; i < SelBegin + SelLen; ++i) Attrs[static_cast<std::size_t>(i)].Style = style;
}

void TMemoryRichText::SetSelColor(TColor color) {
  ++Writes;
  for (int i = SelBegin; i < SelBegin + SelLen; ++i) Attrs[static_cast<std::size_t>(i)].Color = color;
}

TConsistentAttributes TMemoryRichText::SelConsistentAttributes() const {
  TConsistentAttributes ca = caBold | caColor | caItalic | caUnderline | caStrikeOut;
  const TCharAttr first = Attr(SelBegin);
  for (int i = SelBegin + 1; i < SelBegin + SelLen; ++i) {
    const TCharAttr a = Attrs[static_cast<std::size_t>(i)];
    const TFontStyles diff = a.Style ^ first.Style;
    if (diff & fsBold) ca &= ~caBold;
    if (diff & fsItalic) ca &= ~caItalic;
    if (diff & fsUnderline) ca &= ~caUnderline;
    if (diff & fsStrikeOut) ca &= ~caStrikeOut;
    if (a.Color != first.Color) ca &= ~caColor;
  }
  return ca;
}
