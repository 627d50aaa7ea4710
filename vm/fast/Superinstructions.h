// The run loop's superinstructions, declared in Superinstructions.def: the kinds, their
// patterns and the decoder's longest match. A superinstruction's slot stands at its first
// instruction; the covered instructions keep their own slots, so a jump into the middle of a
// sequence runs the rest on their own. Its body (generated, FusedBodies.inc) is its instructions'
// register form, which keeps the values in locals and leaves every store byte and register as
// they do, or hands over to its first instruction run on its own; a kind without one runs its
// instructions' bodies one after the other. Either way it leaves registers, store bytes and
// errors exactly as the instructions do.
#pragma once

#include <cstdint>
#include <vector>

namespace uvm {

enum TFused : std::uint16_t {
  fxNone = 0,
  // Numbered after the opcodes so that a switch can tell both apart.
  fxFirst = 100,
  fxBefore = fxFirst - 1,
#define X(e, length, text) e,
#include "FusedKinds.inc"
#undef X
  fxEnd
};

constexpr int FusedCount = fxEnd - fxFirst;
constexpr int MaxFusedLength = 48;

// A kind's instructions and the operands its declaration fixes.
// With a Split, the first Split instructions end in a jump and the rest match at its target.
struct TFusedPattern {
  TFused Kind;
  std::uint8_t Length;
  std::uint8_t Split;
  std::uint8_t Ops[MaxFusedLength];
  bool Fixed[MaxFusedLength];
  std::int32_t Values[MaxFusedLength];
};

extern const TFusedPattern FusedPatterns[FusedCount];
extern const char *const FusedDeclarations[FusedCount];

// The longest superinstruction that starts at instruction i of a program of `count` instructions
// (their opcodes and integer operands) and covers none of the instructions from i+1 on that
// `barrier` marks (may be empty), or fxNone.
TFused FindFused(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t i, std::int32_t count,
                 const std::vector<bool> &barrier = {});

// The operand of an instruction whose declaration fixes it: the body is compiled for that value.
template <std::int32_t V>
struct TFixedOperand {
  static constexpr std::int32_t I = V;
};

}  // namespace uvm
