// Syntax colouring: the run classifier and the line-by-line highlighter.
#include "UWRichEdit.h"

#include <algorithm>

const char *const HighlightWords[HighlightWordCount] = {
    "OR",    "XOR",    "DIV",   "MOD",    "AND",     "SHL",       "SHR",      "NOT",     "NIL",
    "LABEL", "CONST",  "TYPE",  "VAR",    "BEGIN",   "END",       "IF",       "THEN",    "ELSE",
    "FOR",   "TO",     "DO",    "DOWNTO", "WHILE",   "REPEAT",    "UNTIL",    "ARRAY",   "OF",
    "FORWARD", "PROCEDURE", "FUNCTION", "PROGRAM", "GOTO", "RECORD", "STRING"};

const THighlightStyle DefaultHighlightStyles[HighlightClassCount] = {
    {0, RGB(0, 0, 0)},             // hcPlain
    {0, RGB(0, 0, 0)},             // hcIdentifier
    {fsBold, RGB(0, 0, 128)},      // hcKeyword
    {fsBold, RGB(0, 0, 255)},      // hcBoolean
    {fsItalic, RGB(0, 0, 0)},      // hcString
    {fsBold, RGB(0, 0, 0)},        // hcNumber
    {fsItalic, RGB(0, 128, 0)},    // hcComment
    {fsItalic, RGB(0, 128, 0)},    // hcOpenComment
};

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
bool IsPlain(char c) { return !IsWordChar(c) && c != '#' && c != '\'' && c != '{'; }

[[noreturn]] void AssertionFailed(const char *message, int line) {
  throw EHighlightAssertion(std::string(message) + " (UWRichEdit, line " + std::to_string(line) +
                            ")");
}

// Puts the control back as RecolorLines found it, also when an assertion leaves early.
class TRecolorGuard {
 public:
  explicit TRecolorGuard(IRichText &edit) : Edit(edit) {
    Attached = Edit.ChangeHandlerAttached();
    Edit.SetChangeHandlerAttached(false);
    SavedStart = Edit.SelStart();
    WasEnabled = Edit.Enabled();
    Edit.SetEnabled(false);
  }
  ~TRecolorGuard() {
    Edit.SetSelStart(SavedStart);
    Edit.SetEnabled(WasEnabled);
    Edit.SetChangeHandlerAttached(Attached);
    Edit.SetFocus();
  }
  TRecolorGuard(const TRecolorGuard &) = delete;
  TRecolorGuard &operator=(const TRecolorGuard &) = delete;

 private:
  IRichText &Edit;
  bool Attached = false;
  bool WasEnabled = false;
  int SavedStart = 0;
};

}  // namespace

bool IsHighlightWord(std::string_view upperWord) {
  for (const char *w : HighlightWords)
    if (upperWord == w) return true;
  return false;
}

bool NextRun(std::string_view line, int &pos, bool lineFlag, THighlightClass &cls, int &length) {
  const int len = static_cast<int>(line.size());
  if (pos < 1 || pos > len) return false;
  const int start = pos - 1;  // 0-based index of the run's first character
  int i = start;
  auto at = [&](int k) { return line[static_cast<std::size_t>(k)]; };
  // Moves i past the first c at or after i; false (i at the end) when there is none.
  auto through = [&](char c) {
    while (i < len && at(i) != c) ++i;
    if (i < len) {
      ++i;
      return true;
    }
    return false;
  };

  const char c = at(i);
  if (lineFlag && pos == 1) {
    cls = through('}') ? hcComment : hcOpenComment;
  } else if (IsLetter(c) || c == '_') {
    std::string word;
    while (i < len && IsWordChar(at(i))) {
      char w = at(i++);
      word += (w >= 'a' && w <= 'z') ? static_cast<char>(w - 'a' + 'A') : w;
    }
    if (word == "TRUE" || word == "FALSE")
      cls = hcBoolean;
    else
      cls = IsHighlightWord(word) ? hcKeyword : hcIdentifier;
  } else if (c == '#') {
    ++i;
    while (i < len && IsDigit(at(i))) ++i;
    cls = hcString;
  } else if (c == '\'') {
    ++i;
    through('\'');
    cls = hcString;
  } else if (c == '{') {
    ++i;
    cls = through('}') ? hcComment : hcOpenComment;
  } else if (IsDigit(c)) {
    auto digits = [&] { while (i < len && IsDigit(at(i))) ++i; };
    auto one = [&](char a, char b) {
      if (i < len && (at(i) == a || at(i) == b)) ++i;
    };
    digits();
    one('.', '.');
    digits();
    one('E', 'e');
    one('+', '-');
    digits();
    cls = hcNumber;
  } else {
    while (i < len && IsPlain(at(i))) ++i;
    cls = hcPlain;
  }
  length = i - start;
  pos = i + 1;
  return true;
}

void TUWHighlighter::InitHighlighter() {
  std::copy(std::begin(DefaultHighlightStyles), std::end(DefaultHighlightStyles),
            std::begin(HighlightStyles));
  FirstChanged = LastChanged = CountBefore = 0;
  const int count = Edit.LineCount();
  Flags.assign(static_cast<std::size_t>(std::max(count, 0)), false);
  if (count > 0) RecolorLines(0, count - 1);
}

void TUWHighlighter::DoneHighlighter() {
  Flags.clear();
  Flags.shrink_to_fit();
}

void TUWHighlighter::NoteChangeRange(int startPos, int endPos, bool &allowChange) {
  FirstChanged = Edit.LineFromChar(startPos);
  LastChanged = Edit.LineFromChar(endPos);
  CountBefore = Edit.LineCount();
  allowChange = true;
}

void TUWHighlighter::NoteChangeDone(int position, int charsRemoved, int charsAdded,
                                    int lineCountBefore) {
  // The text before position is unchanged, so its line is the same before and after. The
  // removed text held as many line breaks as the added text holds, less the lines gained.
  FirstChanged = Edit.LineFromChar(position);
  const int breaksAdded = Edit.LineFromChar(position + std::max(charsAdded, 0)) - FirstChanged;
  const int gained = Edit.LineCount() - lineCountBefore;
  const int breaksRemoved = std::max(breaksAdded - gained, 0);
  (void)charsRemoved;  // only its line breaks matter, and they follow from the line counts
  LastChanged = FirstChanged + breaksRemoved;
  CountBefore = lineCountBefore;
}

void TUWHighlighter::SyncFlags(int lineCount) {
  // The flags follow every tracked edit; an edit made while the change handler was detached
  // would leave them short or long, and the recolouring then repairs their values.
  if (lineCount >= 0 && Flags.size() != static_cast<std::size_t>(lineCount))
    Flags.resize(static_cast<std::size_t>(lineCount), false);
}

void TUWHighlighter::HighlightAfterChange() {
  const int n = Edit.LineCount();
  const int before = CountBefore;
  const int d = n - before;
  SyncFlags(before);
  if (d == 0) {
    RecolorLines(FirstChanged, LastChanged);
  } else if (d > 0) {
    Flags.resize(static_cast<std::size_t>(n), false);
    for (int k = before - 1; k >= FirstChanged + 1 && k >= 0; --k)
      Flags[static_cast<std::size_t>(k + d)] = Flags[static_cast<std::size_t>(k)];
    RecolorLines(std::min(FirstChanged, before - 1), LastChanged + d);
  } else {
    for (int k = std::max(FirstChanged + 1 - d, -d); k <= before - 1; ++k)
      Flags[static_cast<std::size_t>(k + d)] = Flags[static_cast<std::size_t>(k)];
    Flags.resize(static_cast<std::size_t>(std::max(n, 0)));
    RecolorLines(FirstChanged, LastChanged + d + 1);
  }
}

void TUWHighlighter::RecolorLines(int firstLine, int lastLine) {
  TRecolorGuard guard(Edit);
  if (firstLine < 0) firstLine = 0;
  if (lastLine < firstLine) AssertionFailed("Assertion failure", __LINE__);
  const int count = Edit.LineCount();
  SyncFlags(count);
  for (int i = firstLine; i < count;) {
    const bool nextChanged = ColorLine(i);
    ++i;
    if (!nextChanged && i > lastLine) break;
  }
}

void TUWHighlighter::SetNextFlag(int line, bool value, bool &changed) {
  const std::size_t next = static_cast<std::size_t>(line) + 1;
  if (line + 1 < Edit.LineCount() && next < Flags.size() && Flags[next] != value) {
    Flags[next] = value;
    changed = true;
  }
}

void TUWHighlighter::ApplyStyle(THighlightClass cls) {
  const THighlightStyle &want = HighlightStyles[cls];
  constexpr TConsistentAttributes checked = caBold | caColor | caItalic | caUnderline;
  if ((Edit.SelConsistentAttributes() & checked) != checked) {
    Edit.SetSelStyle(want.Style);
    Edit.SetSelColor(want.Color);
    return;
  }
  if (Edit.SelStyle() != want.Style) Edit.SetSelStyle(want.Style);
  if (Edit.SelColor() != want.Color) Edit.SetSelColor(want.Color);
}

bool TUWHighlighter::ColorLine(int line) {
  if (line < 0 || line >= Edit.LineCount()) return false;
  ++ColoredCount;
  int position = Edit.LineIndex(line);
  const std::string text = Edit.LineText(line);
  const bool flag = static_cast<std::size_t>(line) < Flags.size() && Flags[line];
  bool continues = false;
  bool changed = false;
  int pos = 1;
  THighlightClass cls;
  int length;
  while (NextRun(text, pos, flag, cls, length)) {
    Edit.SetSelStart(position);
    Edit.SetSelLength(length);
    ApplyStyle(cls);
    position += length;
    if (cls == hcOpenComment) {
      continues = true;
      SetNextFlag(line, true, changed);
    }
  }
  if (text.empty() && flag) {
    continues = true;
    SetNextFlag(line, true, changed);
  }
  if (!continues) SetNextFlag(line, false, changed);
  return changed;
}

std::vector<std::vector<THighlightClass>> ClassifyLines(const std::vector<std::string> &lines) {
  std::vector<std::vector<THighlightClass>> result;
  result.reserve(lines.size());
  bool flag = false;
  for (const std::string &text : lines) {
    std::vector<THighlightClass> classes;
    classes.reserve(text.size());
    bool continues = text.empty() && flag;
    int pos = 1;
    THighlightClass cls;
    int length;
    while (NextRun(text, pos, flag, cls, length)) {
      classes.insert(classes.end(), static_cast<std::size_t>(length), cls);
      if (cls == hcOpenComment) continues = true;
    }
    result.push_back(std::move(classes));
    flag = continues;
  }
  return result;
}
