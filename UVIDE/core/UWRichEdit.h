// Syntax colouring of the editor: the run classifier of one line (NextRun), the style table,
// and TUWHighlighter, which colours the lines of a rich-text control and keeps, per line,
// whether the line starts inside a comment so that an edit recolours only what it affects.
// The control is reached through IRichText, so this unit needs no window toolkit.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "RichText.h"

enum THighlightClass : std::uint8_t {
  hcPlain,
  hcIdentifier,
  hcKeyword,
  hcBoolean,
  hcString,
  hcNumber,
  hcComment,
  hcOpenComment
};
constexpr int HighlightClassCount = 8;

struct THighlightStyle {
  TFontStyles Style;
  TColor Color;
};

// The words shown as keywords, upper case.
constexpr int HighlightWordCount = 34;
extern const char *const HighlightWords[HighlightWordCount];

// The appearance of each run class, indexed by THighlightClass.
extern const THighlightStyle DefaultHighlightStyles[HighlightClassCount];

// Whether the upper-cased word is one of HighlightWords.
bool IsHighlightWord(std::string_view upperWord);

// The next run of a line. Pos is 1-based; on success it moves past the run, whose class and
// length are returned. LineFlag tells that the line starts inside a comment. False at the end
// of the line.
bool NextRun(std::string_view line, int &pos, bool lineFlag, THighlightClass &cls, int &length);

// A broken invariant of the highlighter: "<message> (UWRichEdit, line <n>)".
class EHighlightAssertion : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

class TUWHighlighter {
 public:
  explicit TUWHighlighter(IRichText &edit) : Edit(edit) {}

  // Fills the styles, zeroes the change tracking, makes one false flag per line and colours
  // every line.
  void InitHighlighter();
  void DoneHighlighter();

  // Before an edit: the character range [startPos, endPos] is about to change. The change is
  // always allowed.
  void NoteChangeRange(int startPos, int endPos, bool &allowChange);
  // After an edit, for controls that only report changes once they are made: the characters
  // [position, position + charsRemoved) were replaced by charsAdded characters, and the text
  // had lineCountBefore lines before. Records the same tracking values that NoteChangeRange
  // would have recorded before the edit.
  void NoteChangeDone(int position, int charsRemoved, int charsAdded, int lineCountBefore);
  // After an edit: moves the per-line flags with inserted or removed lines and recolours.
  void HighlightAfterChange();

  // Colours lines first..last, and on past last while the comment state of the next line
  // changes.
  void RecolorLines(int firstLine, int lastLine);
  // Colours one line; true when the flag of the next line changed.
  bool ColorLine(int line);

  THighlightStyle HighlightStyles[HighlightClassCount] = {};

  const std::vector<bool> &CommentFlags() const { return Flags; }
  int FirstChangedLine() const { return FirstChanged; }
  int LastChangedLine() const { return LastChanged; }
  int LineCountBefore() const { return CountBefore; }
  // Number of ColorLine calls that coloured a line, since creation.
  long LinesColored() const { return ColoredCount; }

 private:
  void ApplyStyle(THighlightClass cls);
  void SetNextFlag(int line, bool value, bool &changed);
  void SyncFlags(int lineCount);

  IRichText &Edit;
  std::vector<bool> Flags;
  int FirstChanged = 0;
  int LastChanged = 0;
  int CountBefore = 0;
  long ColoredCount = 0;
};

// Reference colouring of a whole text from scratch, one class per character of each line,
// with the comment state carried from line to line as ColorLine carries it.
std::vector<std::vector<THighlightClass>> ClassifyLines(const std::vector<std::string> &lines);
