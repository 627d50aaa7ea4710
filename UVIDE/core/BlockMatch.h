// Partners in a program's text: ( with ), [ with ], BEGIN and RECORD with END, REPEAT with
// UNTIL, outside strings and comments (as the highlighter's runs tell them apart). Used by the
// editor to show the partner of the bracket or word at the caret.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text as lines, with the highlighter's per-line comment state.
class ISourceLines {
 public:
  virtual ~ISourceLines() = default;
  virtual int LineCount() const = 0;
  // One byte per character; a character outside ASCII may be any byte above 127.
  virtual std::string LineText(int line) const = 0;
  // The line starts inside a comment opened on an earlier line.
  virtual bool StartsInComment(int line) const = 0;
};

enum class TNestFamily { nfParen, nfBracket, nfBlock, nfRepeat };

// A bracket or one of the words BEGIN, RECORD, END, REPEAT, UNTIL; positions 0-based.
struct TNestToken {
  int Line = 0;
  int Column = 0;
  int Length = 0;
  TNestFamily Family = TNestFamily::nfParen;
  bool Opens = false;
  bool operator==(const TNestToken &) const = default;
};

// The nesting tokens of one line, left to right.
std::vector<TNestToken> NestTokens(std::string_view text, bool startsInComment, int line);

struct TPartners {
  TNestToken At;       // the token at the caret
  TNestToken Partner;  // its partner
};

// The token touching the caret (a bracket just before it first, then a word the caret is in or
// beside, then a bracket just after it) and its partner; none when there is no token there or
// its partner is missing. The search gives up after `lineLimit` lines, for a bracket after
// BracketLineLimit lines.
constexpr int BracketLineLimit = 200;
std::optional<TPartners> FindPartner(const ISourceLines &source, int line, int column,
                                     int lineLimit = 20000);
