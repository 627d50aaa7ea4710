// Scanner: token streams, literals, line counting, block boundaries, put-back and file errors.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "Errors.h"
#include "UVScanner.h"

namespace {

// Test processes run in parallel: every process writes its own files.
std::string TempPath(const std::string &name) {
  return (std::filesystem::path(testing::TempDir()) / (std::to_string(::getpid()) + "_" + name)).string();
}

void WriteFile(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Describe(const TToken &t) {
  switch (t.Kind) {
    case tkIdentifier: return "Id:" + t.Text;
    case tkInteger: return "Int:" + std::to_string(t.IntValue);
    case tkReal: {
      char buf[64];
      auto r = std::to_chars(buf, buf + sizeof buf, t.RealValue);
      return "Real:" + std::string(buf, r.ptr);
    }
    case tkBoolean: return t.BoolValue ? "Bool:true" : "Bool:false";
    case tkString: return "Str:" + t.Text;
    case tkErroneus: return "Err:" + t.Text;
    default: return TokenNames[t.Kind];
  }
}

struct TScanResult {
  std::vector<std::string> Tokens;  // ends with "EOF"
  std::vector<std::int32_t> Lines;  // GetLine after each NextToken
  std::vector<TToken> Raw;
};

TScanResult ScanText(const std::string &source) {
  const std::string path = TempPath("scanner_input.pas");
  WriteFile(path, source);
  TUVScanner scanner;
  scanner.SetSourceFile(path);
  scanner.Open();
  TScanResult r;
  for (int guard = 0; guard < 100000; ++guard) {
    const bool more = scanner.NextToken();
    TToken t;
    scanner.GetToken(t);
    EXPECT_EQ(more, t.Kind != tkEOF);
    r.Tokens.push_back(Describe(t));
    r.Lines.push_back(scanner.GetLine());
    r.Raw.push_back(t);
    if (!more) break;
  }
  return r;
}

using Tokens = std::vector<std::string>;

struct TTokenCase {
  const char *Name;
  std::string Source;
  Tokens Expected;  // without the final EOF
};

const std::vector<TTokenCase> &TokenCases() {
  static const std::vector<TTokenCase> cases = {
      {"empty", "", {}},
      {"blanks only", " \t\x01\x1f \r\n", {}},
      {"assign", "x:=1", {"Id:x", ":=", "Int:1"}},
      {"colon equal apart", "x : = 1", {"Id:x", ":", "=", "Int:1"}},
      {"relations", "a<>b a<=b a< b a>=b a>b a=b",
       {"Id:a", "<>", "Id:b", "Id:a", "<=", "Id:b", "Id:a", "<", "Id:b", "Id:a", ">=", "Id:b",
        "Id:a", ">", "Id:b", "Id:a", "=", "Id:b"}},
      {"one-character tokens", ";,[]()^@+-*/",
       {";", ",", "[", "]", "(", ")", "^", "@", "+", "-", "*", "/"}},
      {"pairs at end of file", "a:", {"Id:a", ":"}},
      {"period at end of file", "end.", {"END", "."}},
      {"less at end of file", "<", {"<"}},
      {"greater at end of file", ">", {">"}},
      {"integer limit", "2147483647 2147483648", {"Int:2147483647", "Err:2147483648"}},
      {"huge integer", "99999999999999999999999", {"Err:99999999999999999999999"}},
      {"leading zeros", "007 0", {"Int:7", "Int:0"}},
      {"real with exponent", "1.5E+3 1e5 2.5e-1 3.25", {"Real:1500", "Real:1e+05", "Real:0.25", "Real:3.25"}},
      {"exponent without digits", "1.5E+ x", {"Err:1.5E+", "Id:x"}},
      {"exponent without digits at end", "2.5e-", {"Err:2.5e-"}},
      {"bare exponent", "1E;", {"Err:1E", ";"}},
      {"range", "1..10", {"Int:1", "..", "Int:10"}},
      {"period then letter", "3.x", {"Int:3", ".", "Id:x"}},
      {"period then exponent letter", "1.E5", {"Int:1", ".", "Id:E5"}},
      {"period at end of file after digits", "3.", {"Int:3", "."}},
      {"letters after digits", "12abc", {"Int:12", "Id:abc"}},
      {"minus is a token", "-5", {"-", "Int:5"}},
      {"real out of range", "1e400 1.0e-400 0.0001e-320 " + std::string(400, '9') + ".0",
       {"Err:1e400", "Real:0", "Real:0", "Err:" + std::string(255, '9')}},
      {"tiny and huge mantissas", "0." + std::string(400, '0') + "1e300 0.001e309",
       {"Real:1e-101", "Real:1e+306"}},
      {"comment", "{ comment } begin", {"BEGIN"}},
      {"comment not closed", "{ not closed x y", {}},
      {"comment without nesting", "{ a { b } c }", {"Id:c", "Err:}"}},
      {"no other comment forms", "(* x *) //", {"(", "*", "Id:x", "*", ")", "/", "/"}},
      {"reserved words in any case", "Begin begin BEGIN Begin1 _end",
       {"BEGIN", "BEGIN", "BEGIN", "Id:Begin1", "Id:_end"}},
      {"all reserved words",
       "or xor div mod and shl shr not nil label const type var begin end if then else for to "
       "downto do while repeat until array of program procedure function goto record forward",
       {"OR", "XOR", "DIV", "MOD", "AND", "SHL", "SHR", "NOT", "NIL", "LABEL", "CONST", "TYPE",
        "VAR", "BEGIN", "END", "IF", "THEN", "ELSE", "FOR", "TO", "DOWNTO", "DO", "WHILE",
        "REPEAT", "UNTIL", "ARRAY", "OF", "PROGRAM", "PROCEDURE", "FUNCTION", "GOTO", "RECORD",
        "FORWARD"}},
      {"booleans", "True false TRUE1", {"Bool:true", "Bool:false", "Id:TRUE1"}},
      {"identifier of 64", std::string(64, 'a'), {"Id:" + std::string(64, 'a')}},
      {"identifier of 65", std::string(65, 'b') + " x", {"Err:" + std::string(65, 'b'), "Id:x"}},
      {"identifier of 300 cut", std::string(300, 'c'), {"Err:" + std::string(255, 'c')}},
      {"doubled quote", "'don''t'", {"Str:don't"}},
      {"empty string", "''", {"Str:"}},
      {"character codes", "#65#66 #72#105", {"Str:AB", "Str:Hi"}},
      {"quoted part then code", "'Hi'#33", {"Str:Hi!"}},
      {"code then quoted part", "#39'x'#39", {"Str:'x'"}},
      {"parts apart are two strings", "'a' #66", {"Str:a", "Str:B"}},
      {"bad character codes", "#256 # x #0065 #", {"Err:#256", "Err:#", "Id:x", "Err:#0065", "Err:#"}},
      {"code then a digitless hash", "'a'#", {"Err:#"}},
      {"code at the limit", "#255#0", {std::string("Str:\xff") + '\0'}},
      {"string broken by a line end", "'abc\r\nx", {"Err:abc", "Id:x"}},
      {"string broken by a line feed", "'abc\nx'", {"Err:abc", "Id:x", "Err:"}},
      {"string broken by end of file", "'abc", {"Err:abc"}},
      {"quote then letter", "'it''s'x", {"Str:it's", "Id:x"}},
      {"string of 255", "'" + std::string(255, 's') + "'", {"Str:" + std::string(255, 's')}},
      {"string of 256", "'" + std::string(256, 's') + "'", {"Err:" + std::string(255, 's')}},
      {"string of 256 from codes", "'" + std::string(255, 's') + "'#33", {"Err:" + std::string(255, 's')}},
      {"characters that start no token", "$\"!%&?\\`|}~\x7f",
       {"Err:$", "Err:\"", "Err:!", "Err:%", "Err:&", "Err:?", "Err:\\", "Err:`", "Err:|",
        "Err:}", "Err:~", "Err:\x7f"}},
      {"bytes above 127", "ab\xe9" "cd \x80\xff", {"Id:ab", "Err:\xe9", "Id:cd", "Err:\x80", "Err:\xff"}},
      {"bytes above 127 in a string", "'\xe9\xff'", {"Str:\xe9\xff"}},
      {"control bytes are blanks", std::string("a\0b", 3), {"Id:a", "Id:b"}},
  };
  return cases;
}

TEST(ScannerTest, TokenStreams) {
  for (const auto &c : TokenCases()) {
    SCOPED_TRACE(c.Name);
    Tokens expected = c.Expected;
    expected.push_back("EOF");
    EXPECT_EQ(ScanText(c.Source).Tokens, expected);
  }
}

TEST(ScannerTest, ReservedWordKeepsItsSpellingAndIdentifierItsCase) {
  const auto r = ScanText("bEgIn MyName");
  ASSERT_EQ(r.Raw.size(), 3u);
  EXPECT_EQ(r.Raw[0].Kind, tkBEGIN);
  EXPECT_EQ(r.Raw[0].Text, "bEgIn");
  EXPECT_EQ(r.Raw[1].Text, "MyName");
}

TEST(ScannerTest, DisplayTexts) {
  EXPECT_STREQ(TokenNames[tkErroneus], "Erroneus Token");
  EXPECT_STREQ(TokenNames[tkRange], "..");
  EXPECT_STREQ(TokenNames[tkOR], "OR");
  EXPECT_STREQ(TokenNames[tkFORWARD], "FORWARD");
  EXPECT_STREQ(TokenNames[tkIdentifier], "Identifier");
  EXPECT_STREQ(TokenNames[tkEOF], "EOF");
  EXPECT_EQ(tkOR, 23);
  EXPECT_EQ(tkFORWARD, 55);
  EXPECT_EQ(tkEOF, 61);
}

// Every snippet must scan the same wherever a 512-byte block boundary falls inside it.
TEST(ScannerTest, BlockBoundaryAnywhereInAToken) {
  const std::vector<std::string> snippets = {
      "1..10", "x:=1", "3.x", "1.5E+3", "1.5E+x", "1.E5", "123456789", "a<>b", "a>=b",
      "'ab''cd'#65#66", "Identifier_1", "{ c } x", "'abc\r\ny", "'abc\ny", "3.\r\n"};
  for (const auto &snippet : snippets) {
    const Tokens expected = ScanText(snippet).Tokens;
    for (int pad = 500; pad <= 514; ++pad) {
      for (int blocks : {1, 2}) {
        const std::size_t at = static_cast<std::size_t>(pad + (blocks - 1) * 512);
        SCOPED_TRACE(snippet + " at " + std::to_string(at));
        const std::string source = std::string(at, ' ') + snippet;
        EXPECT_EQ(ScanText(source).Tokens, expected);
      }
    }
  }
}

struct TLineCase {
  const char *Name;
  std::string Source;
  std::vector<std::int32_t> Lines;  // of every token, EOF included
};

TEST(ScannerTest, LineNumbers) {
  const std::vector<TLineCase> cases = {
      {"CR LF", "a\r\nb\r\n\r\nc\r\n", {1, 2, 4, 5}},
      {"LF", "a\nb\n\nc\n", {1, 2, 4, 5}},
      {"CR", "a\rb\r\rc\r", {1, 2, 4, 5}},
      {"LF CR is two line ends", "a\n\rb", {1, 3, 3}},
      {"comment over lines", "{\r\n\r\n} x", {3, 3}},
      {"broken string continues on the next line", "'abc\r\nx", {1, 2, 2}},
      {"token ends on its line", "x\r\n", {1, 2}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ScanText(c.Source).Lines, c.Lines);
  }
}

TEST(ScannerTest, LineEndPairAcrossBlockBoundary) {
  for (int crAt = 509; crAt <= 513; ++crAt) {
    SCOPED_TRACE(crAt);
    std::string source = "a" + std::string(static_cast<std::size_t>(crAt) - 1, ' ') + "\r\nb\r\nc";
    ASSERT_EQ(source[static_cast<std::size_t>(crAt)], '\r');
    EXPECT_EQ(ScanText(source).Lines, (std::vector<std::int32_t>{1, 2, 3, 3}));
    // The pair right after a number, so that the line end is read and given back.
    source = std::string(static_cast<std::size_t>(crAt) - 1, ' ') + "7\r\n8";
    EXPECT_EQ(ScanText(source).Lines, (std::vector<std::int32_t>{1, 2, 2}));
  }
}

TEST(ScannerTest, ManyLinesAcrossBlocks) {
  std::string source;
  for (int i = 0; i < 2000; ++i) source += (i % 2 ? "x\r\n" : "y\n");
  const auto r = ScanText(source);
  ASSERT_EQ(r.Lines.size(), 2001u);
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(r.Lines[static_cast<std::size_t>(i)], i + 1);
  EXPECT_EQ(r.Lines.back(), 2001);
}

class ScannerFileTest : public testing::Test {
 protected:
  void Open(const std::string &source) {
    Path = TempPath("scanner_file.pas");
    WriteFile(Path, source);
    Scanner.SetSourceFile(Path);
    Scanner.Open();
  }
  std::string Current() {
    TToken t;
    Scanner.GetToken(t);
    return Describe(t);
  }
  std::string Path;
  TUVScanner Scanner;
};

TEST_F(ScannerFileTest, PutBackStepsBackOneToken) {
  Open("a b c");
  Scanner.PutBack();
  EXPECT_EQ(Current(), "Err:");  // the initial token
  ASSERT_TRUE(Scanner.NextToken());
  EXPECT_EQ(Current(), "Err:");
  ASSERT_TRUE(Scanner.NextToken());
  ASSERT_TRUE(Scanner.NextToken());
  EXPECT_EQ(Current(), "Id:b");
  Scanner.PutBack();
  Scanner.PutBack();
  EXPECT_EQ(Current(), "Id:a");
  EXPECT_TRUE(Scanner.NextToken());
  EXPECT_EQ(Current(), "Id:b");
  EXPECT_TRUE(Scanner.NextToken());
  EXPECT_EQ(Current(), "Id:c");
}

TEST_F(ScannerFileTest, EndOfFileRepeats) {
  Open("x\r\n");
  ASSERT_TRUE(Scanner.NextToken());
  EXPECT_FALSE(Scanner.NextToken());
  EXPECT_FALSE(Scanner.NextToken());
  EXPECT_EQ(Current(), "EOF");
  Scanner.PutBack();
  EXPECT_EQ(Current(), "EOF");  // the previous token is EOF too
  EXPECT_EQ(Scanner.GetLine(), 2);
}

TEST_F(ScannerFileTest, PutBackKeepsTheLine) {
  Open("a\r\nb");
  Scanner.NextToken();
  Scanner.NextToken();
  EXPECT_EQ(Scanner.GetLine(), 2);
  Scanner.PutBack();
  EXPECT_EQ(Scanner.GetLine(), 2);
  Scanner.NextToken();
  EXPECT_EQ(Scanner.GetLine(), 2);
}

TEST_F(ScannerFileTest, SizeAndPosition) {
  Open("ab  cd");
  EXPECT_EQ(Scanner.GetFileSize(), 6);
  Scanner.NextToken();
  EXPECT_EQ(Scanner.GetPosition(), 2);
  Scanner.NextToken();
  EXPECT_EQ(Scanner.GetPosition(), 6);
}

TEST_F(ScannerFileTest, ReopenStartsAgain) {
  Open("first\r\nsecond");
  while (Scanner.NextToken()) {
  }
  Scanner.SetSourceFile(Path);
  Scanner.Open();
  EXPECT_EQ(Scanner.GetLine(), 1);
  ASSERT_TRUE(Scanner.NextToken());
  EXPECT_EQ(Current(), "Id:first");
}

TEST(ScannerTest, TokenSets) {
  constexpr TTokenSet statementStart{tkBEGIN, tkIF, tkIdentifier};
  static_assert(statementStart.Contains(tkIF));
  TTokenSet s = statementStart + TTokenSet{tkEOF, tkErroneus} - tkIF;
  EXPECT_TRUE(s.Contains(tkEOF));
  EXPECT_TRUE(s.Contains(tkErroneus));
  EXPECT_TRUE(s.Contains(tkBEGIN));
  EXPECT_FALSE(s.Contains(tkIF));
  EXPECT_EQ((s * TTokenSet{tkBEGIN, tkEND}), TTokenSet{tkBEGIN});
  s -= statementStart;
  EXPECT_EQ(s, (TTokenSet{tkEOF, tkErroneus}));
  EXPECT_EQ(s.GetBits(), (std::uint64_t{1} << 61) | 1u);
  s += static_cast<TTokenKind>(64);  // outside the set's range: ignored
  s += static_cast<TTokenKind>(200);
  EXPECT_EQ(s, (TTokenSet{tkEOF, tkErroneus}));
  EXPECT_FALSE(s.Contains(static_cast<TTokenKind>(200)));
  EXPECT_TRUE(TTokenSet{}.IsEmpty());
}

TEST(ScannerTest, SourceNameIsTheLastComponent) {
  TUVScanner scanner;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/home/u/prog.pas", "prog.pas"}, {"C:\\dir\\file.pas", "file.pas"},
      {"C:file.pas", "file.pas"},       {"plain.pas", "plain.pas"},
      {"dir/", ""}};
  for (const auto &[path, name] : cases) {
    scanner.SetSourceFile(path);
    EXPECT_EQ(scanner.GetSourceName(), name) << path;
  }
}

TEST(ScannerTest, OpenFailureThrowsAndKeepsTheState) {
  const std::string path = TempPath("scanner_lines.pas");
  WriteFile(path, "a\nb\nc");
  TUVScanner scanner;
  scanner.SetSourceFile(path);
  scanner.Open();
  while (scanner.NextToken()) {
  }
  EXPECT_EQ(scanner.GetLine(), 3);

  scanner.SetSourceFile(TempPath("no_such_file.pas"));
  EXPECT_THROW(scanner.Open(), EInOutError);
  EXPECT_EQ(scanner.GetLine(), 3);
  EXPECT_FALSE(scanner.NextToken());

  scanner.SetSourceFile(testing::TempDir());
  EXPECT_THROW(scanner.Open(), EInOutError);
}

}  // namespace
