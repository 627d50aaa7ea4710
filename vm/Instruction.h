// One instruction of the stack machine: an opcode, the source line it came from, and one
// operand whose meaning depends on the opcode.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "Opcodes.h"

enum TOpcode : std::uint8_t {
#define ULVAN_ENUM(e, name, kind) e,
  ULVAN_OPCODES(ULVAN_ENUM)
#undef ULVAN_ENUM
};

constexpr int OpcodeCount = 78;

// What the operand of an opcode holds, as the compiler fills it and the listing prints it.
enum TOperandKind : std::uint8_t { okNone, okInt, okReal, okBool, okStr };

extern const char *const OpcodeNames[OpcodeCount];
extern const TOperandKind OpcodeOperands[OpcodeCount];

// A string of at most 255 single-byte characters: a length byte and the characters.
struct TShortString {
  std::uint8_t Len;
  char Chars[255];

  std::string_view View() const { return {Chars, Len}; }
  std::string Str() const { return std::string(View()); }
  // Takes at most the first 255 characters of s.
  void Assign(std::string_view s) {
    Len = static_cast<std::uint8_t>(s.size() > 255 ? 255 : s.size());
    std::memcpy(Chars, s.data(), Len);
  }
};

struct TInstruction {
  std::uint8_t Opcode;
  std::int32_t Line;
  union {
    std::int32_t IntValue;
    double RealValue;
    std::uint8_t BoolValue;
    TShortString StrValue;
  };

  // A fresh instruction is all zero bytes: opcode "???", line 0, operand 0.
  TInstruction() { std::memset(static_cast<void *>(this), 0, sizeof *this); }
  TInstruction(const TInstruction &o) { std::memcpy(static_cast<void *>(this), &o, sizeof *this); }
  TInstruction &operator=(const TInstruction &o) {
    std::memmove(static_cast<void *>(this), &o, sizeof *this);
    return *this;
  }
};
