#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UWRichEdit.h"

namespace {

struct TRun {
  std::string Text;
  THighlightClass Class;
  bool operator==(const TRun &) const = default;
};

std::ostream &operator<<(std::ostream &os, const TRun &r) {
  return os << "{\"" << r.Text << "\", " << int(r.Class) << "}";
}

std::vector<TRun> Runs(const std::string &line, bool flag = false) {
  std::vector<TRun> runs;
  int pos = 1, length = 0;
  THighlightClass cls;
  while (NextRun(line, pos, flag, cls, length)) {
    runs.push_back({line.substr(static_cast<std::size_t>(pos - 1 - length), static_cast<std::size_t>(length)), cls});
    if (runs.size() > line.size()) break;  // no progress: fails below
  }
  return runs;
}

struct TRunCase {
  const char *Line;
  bool Flag;
  std::vector<TRun> Expected;
};

TEST(NextRun, ClassifiesEveryCharacterOfALine) {
  const TRunCase cases[] = {
      {"begin", false, {{"begin", hcKeyword}}},
      {"Begin", false, {{"Begin", hcKeyword}}},
      {"BEGIN", false, {{"BEGIN", hcKeyword}}},
      {"String", false, {{"String", hcKeyword}}},
      {"Integer", false, {{"Integer", hcIdentifier}}},
      {"true FALSE", false, {{"true", hcBoolean}, {" ", hcPlain}, {"FALSE", hcBoolean}}},
      {"x1", false, {{"x1", hcIdentifier}}},
      {"_a_9", false, {{"_a_9", hcIdentifier}}},
      {"12abc", false, {{"12", hcNumber}, {"abc", hcIdentifier}}},
      {"1+2", false, {{"1+2", hcNumber}}},
      {"1 + 2", false, {{"1", hcNumber}, {" + ", hcPlain}, {"2", hcNumber}}},
      {"3.14e-5;", false, {{"3.14e-5", hcNumber}, {";", hcPlain}}},
      {"1E+10", false, {{"1E+10", hcNumber}}},
      {"1..10", false, {{"1.", hcNumber}, {".", hcPlain}, {"10", hcNumber}}},
      {"1.5.2", false, {{"1.5", hcNumber}, {".", hcPlain}, {"2", hcNumber}}},
      {"2e", false, {{"2e", hcNumber}}},
      {"x := 'abc", false, {{"x", hcIdentifier}, {" := ", hcPlain}, {"'abc", hcString}}},
      {"'it''s'", false, {{"'it'", hcString}, {"'s'", hcString}}},
      {"''", false, {{"''", hcString}}},
      {"#13#10'x'", false, {{"#13", hcString}, {"#10", hcString}, {"'x'", hcString}}},
      {"# 1", false, {{"#", hcString}, {" ", hcPlain}, {"1", hcNumber}}},
      {"{ a } code", false, {{"{ a }", hcComment}, {" ", hcPlain}, {"code", hcIdentifier}}},
      {"x { open", false, {{"x", hcIdentifier}, {" ", hcPlain}, {"{ open", hcOpenComment}}},
      {"{}{", false, {{"{}", hcComment}, {"{", hcOpenComment}}},
      {"still } x", true, {{"still }", hcComment}, {" ", hcPlain}, {"x", hcIdentifier}}},
      {"still open {", true, {{"still open {", hcOpenComment}}},
      {"}", true, {{"}", hcComment}}},
      {"} }", false, {{"} }", hcPlain}}},
      {"a<>b;\t(*c*)", false,
       {{"a", hcIdentifier}, {"<>", hcPlain}, {"b", hcIdentifier}, {";\t(*", hcPlain},
        {"c", hcIdentifier}, {"*)", hcPlain}}},
      {"\xE4\xB0x", false, {{"\xE4\xB0", hcPlain}, {"x", hcIdentifier}}},
      {"procedure P; forward;", false,
       {{"procedure", hcKeyword}, {" ", hcPlain}, {"P", hcIdentifier}, {"; ", hcPlain},
        {"forward", hcKeyword}, {";", hcPlain}}},
      {"", false, {}},
      {"", true, {}},
  };
  for (const TRunCase &c : cases) EXPECT_EQ(Runs(c.Line, c.Flag), c.Expected) << '"' << c.Line << '"';
}

TEST(NextRun, WordListIsTheReservedWordsPlusString) {
  EXPECT_EQ(HighlightWordCount, 34);
  for (const char *w : {"OR", "XOR", "DIV", "MOD", "AND", "SHL", "SHR", "NOT", "NIL", "LABEL", "CONST",
                        "TYPE", "VAR", "BEGIN", "END", "IF", "THEN", "ELSE", "FOR", "TO", "DO",
                        "DOWNTO", "WHILE", "REPEAT", "UNTIL", "ARRAY", "OF", "FORWARD", "PROCEDURE",
                        "FUNCTION", "PROGRAM", "GOTO", "RECORD", "STRING"})
    EXPECT_TRUE(IsHighlightWord(w)) << w;
  for (const char *w : {"INTEGER", "REAL", "BOOLEAN", "TRUE", "WRITELN", "CASE", "WITH", "begin"})
    EXPECT_FALSE(IsHighlightWord(w)) << w;
}

TEST(NextRun, PositionOutsideTheLineGivesNoRun) {
  THighlightClass cls;
  int length = 0;
  for (int pos : {0, -1, 4, 100}) {
    int p = pos;
    EXPECT_FALSE(NextRun("abc", p, false, cls, length)) << pos;
  }
}

TEST(HighlightStyles, AppearanceOfEachClass) {
  struct Case { THighlightClass Class; TFontStyles Style; TColor Color; };
  const Case cases[] = {
      {hcPlain, 0, RGB(0, 0, 0)},          {hcIdentifier, 0, RGB(0, 0, 0)},
      {hcKeyword, fsBold, RGB(0, 0, 128)}, {hcBoolean, fsBold, RGB(0, 0, 255)},
      {hcString, fsItalic, RGB(0, 0, 0)},  {hcNumber, fsBold, RGB(0, 0, 0)},
      {hcComment, fsItalic, RGB(0, 128, 0)}, {hcOpenComment, fsItalic, RGB(0, 128, 0)},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(DefaultHighlightStyles[c.Class].Style, c.Style) << int(c.Class);
    EXPECT_EQ(DefaultHighlightStyles[c.Class].Color, c.Color) << int(c.Class);
  }
}

}  // namespace
