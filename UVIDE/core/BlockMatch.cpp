#include "BlockMatch.h"

#include <algorithm>
#include <cctype>

#include "UWRichEdit.h"

namespace {

std::string Upper(std::string_view word) {
  std::string upper(word);
  for (char &c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

bool WordToken(std::string_view word, TNestToken &token) {
  const std::string upper = Upper(word);
  if (upper == "BEGIN" || upper == "RECORD") token.Family = TNestFamily::nfBlock, token.Opens = true;
  else if (upper == "END") token.Family = TNestFamily::nfBlock, token.Opens = false;
  else if (upper == "REPEAT") token.Family = TNestFamily::nfRepeat, token.Opens = true;
  else if (upper == "UNTIL") token.Family = TNestFamily::nfRepeat, token.Opens = false;
  else return false;
  return true;
}

bool BracketToken(char c, TNestToken &token) {
  switch (c) {
    case '(': token.Family = TNestFamily::nfParen, token.Opens = true; return true;
    case ')': token.Family = TNestFamily::nfParen, token.Opens = false; return true;
    case '[': token.Family = TNestFamily::nfBracket, token.Opens = true; return true;
    case ']': token.Family = TNestFamily::nfBracket, token.Opens = false; return true;
    default: return false;
  }
}

// Walks from `from` (excluded) towards the partner, forwards for an opening token, counting
// the tokens of its family.
std::optional<TNestToken> Walk(const ISourceLines &source, const TNestToken &from, int lineLimit) {
  int depth = 0;
  const int step = from.Opens ? 1 : -1;
  const int count = source.LineCount();
  for (int line = from.Line, seen = 0; line >= 0 && line < count && seen <= lineLimit;
       line += step, ++seen) {
    std::vector<TNestToken> tokens = NestTokens(source.LineText(line), source.StartsInComment(line), line);
    if (!from.Opens) std::reverse(tokens.begin(), tokens.end());
    for (const TNestToken &t : tokens) {
      if (t.Family != from.Family) continue;
      if (line == from.Line && (from.Opens ? t.Column <= from.Column : t.Column >= from.Column))
        continue;
      if (t.Opens == from.Opens) ++depth;
      else if (depth-- == 0) return t;
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<TNestToken> NestTokens(std::string_view text, bool startsInComment, int line) {
  std::vector<TNestToken> tokens;
  int pos = 1;
  THighlightClass cls{};
  int length = 0;
  while (true) {
    const int start = pos - 1;
    if (!NextRun(text, pos, startsInComment, cls, length)) break;
    TNestToken token;
    token.Line = line;
    if (cls == hcKeyword && WordToken(text.substr(static_cast<std::size_t>(start),
                                                  static_cast<std::size_t>(length)), token)) {
      token.Column = start;
      token.Length = length;
      tokens.push_back(token);
    } else if (cls == hcPlain) {
      for (int i = start; i < start + length; ++i)
        if (BracketToken(text[static_cast<std::size_t>(i)], token)) {
          token.Column = i;
          token.Length = 1;
          tokens.push_back(token);
        }
    }
  }
  return tokens;
}

std::optional<TPartners> FindPartner(const ISourceLines &source, int line, int column,
                                     int lineLimit) {
  if (line < 0 || line >= source.LineCount()) return std::nullopt;
  const std::vector<TNestToken> tokens =
      NestTokens(source.LineText(line), source.StartsInComment(line), line);
  auto find = [&](auto accept) -> const TNestToken * {
    const auto it = std::find_if(tokens.begin(), tokens.end(), accept);
    return it == tokens.end() ? nullptr : &*it;
  };
  const bool isWord[] = {false, false, true, true};
  auto word = [&](const TNestToken &t) { return isWord[static_cast<int>(t.Family)]; };
  const TNestToken *at = find([&](const TNestToken &t) { return !word(t) && t.Column == column - 1; });
  if (at == nullptr)
    at = find([&](const TNestToken &t) {
      return word(t) && t.Column <= column && column <= t.Column + t.Length;
    });
  if (at == nullptr) at = find([&](const TNestToken &t) { return !word(t) && t.Column == column; });
  if (at == nullptr) return std::nullopt;
  // A bracket's partner is near; one missing would otherwise be looked for through the text.
  const std::optional<TNestToken> partner = Walk(source, *at, word(*at) ? lineLimit : std::min(lineLimit, BracketLineLimit));
  if (!partner) return std::nullopt;
  return TPartners{*at, *partner};
}
