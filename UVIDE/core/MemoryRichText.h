// A rich-text control held in memory: the text with a style and colour per character, a
// selection, and the notifications a real control sends around an edit. The highlighter's
// tests and benchmark drive it without a window.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "RichText.h"

class TMemoryRichText : public IRichText {
 public:
  struct TCharAttr {
    TFontStyles Style = 0;
    TColor Color = clDefault;
    bool operator==(const TCharAttr &) const = default;
  };

  explicit TMemoryRichText(std::string_view text = {});

  // Replaces the whole text with no notification; every character gets default attributes.
  void SetText(std::string_view text);
  const std::string &Text() const { return Chars; }
  std::vector<std::string> Lines() const;

  // An edit as the user makes it: characters [start, end) are replaced by text (line breaks
  // as '\n'). Before the change OnProtectChange(start, end, allow) is asked; after it
  // OnContentsChange(start, removed, added, lineCountBefore) is told, then OnChange while the
  // change handler is attached. Inserted characters take the attributes of the character
  // before them, as typing does. The selection becomes a caret after the inserted text.
  void Replace(int start, int end, std::string_view text);
  // Position of the first character of column col (0-based) of a line.
  int Pos(int line, int col) const { return LineIndex(line) + col; }

  std::function<void(int start, int end, bool &allow)> OnProtectChange;
  std::function<void(int position, int removed, int added, int lineCountBefore)> OnContentsChange;
  std::function<void()> OnChange;

  TCharAttr Attr(int position) const;
  int SelLength() const { return SelLen; }
  bool Focused() const { return HasFocus; }
  // Count of SetSelStyle and SetSelColor calls.
  long AttributeWrites() const { return Writes; }

  int LineCount() const override;
  std::string LineText(int line) const override;
  int LineIndex(int line) const override;
  int LineFromChar(int position) const override;
  int SelStart() const override { return SelBegin; }
  void SetSelStart(int position) override;
  void SetSelLength(int length) override;
  TFontStyles SelStyle() const override;
  void SetSelStyle(TFontStyles style) override;
  TColor SelColor() const override;
  void SetSelColor(TColor color) override;
  TConsistentAttributes SelConsistentAttributes() const override;
  bool ChangeHandlerAttached() const override { return HandlerAttached; }
  void SetChangeHandlerAttached(bool attached) override { HandlerAttached = attached; }
  bool Enabled() const override { return IsEnabled; }
  void SetEnabled(bool enabled) override { IsEnabled = enabled; }
  void SetFocus() override { HasFocus = true; }

  void KillFocus() { HasFocus = false; }

 private:
  void IndexLines();
  int Clamp(int position) const;

  std::string Chars;
  std::vector<TCharAttr> Attrs;
  std::vector<int> Starts;  // first position of each line
  int SelBegin = 0;
  int SelLen = 0;
  bool HandlerAttached = true;
  bool IsEnabled = true;
  bool HasFocus = false;
  long Writes = 0;
};
