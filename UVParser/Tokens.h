// Token kinds, their display texts, the token record and sets of token kinds.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// The 62 kinds of token. The value order is fixed: kinds tkOR .. tkFORWARD (23 to 55) are the
// reserved words and their display texts are the words themselves.
enum TTokenKind : std::uint8_t {
  tkErroneus,      //  0 "Erroneus Token": a lexical error, Text holds the offending text
  tkSemicolon,     //  1 ;
  tkColon,         //  2 :
  tkComma,         //  3 ,
  tkPeriod,        //  4 .
  tkRange,         //  5 ..
  tkLBracket,      //  6 [
  tkRBracket,      //  7 ]
  tkLParen,        //  8 (
  tkRParen,        //  9 )
  tkAssign,        // 10 :=
  tkCaret,         // 11 ^
  tkAt,            // 12 @
  tkEqual,         // 13 =
  tkGreater,       // 14 >
  tkLess,          // 15 <
  tkGreaterEqual,  // 16 >=
  tkLessEqual,     // 17 <=
  tkNotEqual,      // 18 <>
  tkPlus,          // 19 +
  tkMinus,         // 20 -
  tkStar,          // 21 *
  tkSlash,         // 22 /
  tkOR,            // 23
  tkXOR,
  tkDIV,
  tkMOD,
  tkAND,
  tkSHL,
  tkSHR,
  tkNOT,
  tkNIL,
  tkLABEL,
  tkCONST,
  tkTYPE,
  tkVAR,
  tkBEGIN,
  tkEND,
  tkIF,
  tkTHEN,
  tkELSE,
  tkFOR,
  tkTO,
  tkDOWNTO,
  tkDO,
  tkWHILE,
  tkREPEAT,
  tkUNTIL,
  tkARRAY,
  tkOF,
  tkPROGRAM,
  tkPROCEDURE,
  tkFUNCTION,
  tkGOTO,
  tkRECORD,
  tkFORWARD,       // 55
  tkIdentifier,    // 56 Text as written
  tkInteger,       // 57 IntValue (0 .. 2147483647)
  tkReal,          // 58 RealValue
  tkBoolean,       // 59 BoolValue (TRUE / FALSE)
  tkString,        // 60 Text is the literal's value
  tkEOF            // 61 end of the source
};

constexpr int TokenKindCount = 62;
constexpr TTokenKind FirstReservedWord = tkOR;
constexpr TTokenKind LastReservedWord = tkFORWARD;

// Display text of every kind; every message that names a token kind uses these texts.
inline constexpr const char *TokenNames[TokenKindCount] = {
    "Erroneus Token", ";", ":", ",", ".", "..", "[", "]", "(", ")", ":=", "^", "@", "=", ">", "<",
    ">=", "<=", "<>", "+", "-", "*", "/",
    "OR", "XOR", "DIV", "MOD", "AND", "SHL", "SHR", "NOT", "NIL", "LABEL", "CONST", "TYPE",
    "VAR", "BEGIN", "END", "IF", "THEN", "ELSE", "FOR", "TO", "DOWNTO", "DO", "WHILE", "REPEAT",
    "UNTIL", "ARRAY", "OF", "PROGRAM", "PROCEDURE", "FUNCTION", "GOTO", "RECORD", "FORWARD",
    "Identifier", "Integer", "Real", "Boolean", "String", "EOF"};

// Display text of a kind; "" for a value outside 0..61.
constexpr const char *TokenName(TTokenKind kind) {
  return kind < TokenKindCount ? TokenNames[kind] : "";
}

// One token. Only the value field that belongs to Kind is meaningful.
struct TToken {
  TTokenKind Kind = tkErroneus;
  std::string Text;            // identifier / reserved word as written, string value, error text
  std::int64_t IntValue = 0;   // tkInteger
  double RealValue = 0.0;      // tkReal
  bool BoolValue = false;      // tkBoolean
  std::int32_t Line = 0;       // line on which the token ends
};

// A set of token kinds 0..63, one bit per kind. Kinds 62 and 63 are never produced; values
// above 63 are never members (including one is ignored).
class TTokenSet {
 public:
  constexpr TTokenSet() = default;
  constexpr TTokenSet(std::initializer_list<TTokenKind> kinds) {
    for (TTokenKind k : kinds) Bits |= Bit(k);
  }
  static constexpr TTokenSet FromBits(std::uint64_t bits) {
    TTokenSet s;
    s.Bits = bits;
    return s;
  }

  constexpr bool Contains(TTokenKind k) const { return (Bits & Bit(k)) != 0; }
  constexpr bool IsEmpty() const { return Bits == 0; }
  constexpr std::uint64_t GetBits() const { return Bits; }

  constexpr TTokenSet &Include(TTokenKind k) {
    Bits |= Bit(k);
    return *this;
  }
  constexpr TTokenSet &Exclude(TTokenKind k) {
    Bits &= ~Bit(k);
    return *this;
  }

  // Union, difference, intersection.
  friend constexpr TTokenSet operator+(TTokenSet a, TTokenSet b) { return FromBits(a.Bits | b.Bits); }
  friend constexpr TTokenSet operator-(TTokenSet a, TTokenSet b) { return FromBits(a.Bits & ~b.Bits); }
  friend constexpr TTokenSet operator*(TTokenSet a, TTokenSet b) { return FromBits(a.Bits & b.Bits); }
  friend constexpr TTokenSet operator+(TTokenSet a, TTokenKind k) { return a.Include(k); }
  friend constexpr TTokenSet operator-(TTokenSet a, TTokenKind k) { return a.Exclude(k); }
  constexpr TTokenSet &operator+=(TTokenSet o) {
    Bits |= o.Bits;
    return *this;
  }
  constexpr TTokenSet &operator-=(TTokenSet o) {
    Bits &= ~o.Bits;
    return *this;
  }
  constexpr TTokenSet &operator+=(TTokenKind k) { return Include(k); }
  constexpr TTokenSet &operator-=(TTokenKind k) { return Exclude(k); }
  friend constexpr bool operator==(TTokenSet a, TTokenSet b) { return a.Bits == b.Bits; }

 private:
  static constexpr std::uint64_t Bit(TTokenKind k) {
    return k < 64 ? std::uint64_t{1} << k : std::uint64_t{0};
  }
  std::uint64_t Bits = 0;
};
