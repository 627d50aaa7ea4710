// An element load as the compiler emits it: PushMP IncInt base, one or two index terms
// (PushMP IncInt j Deref 4 [IncInt c] PushInt m Mul Int Add Int), Deref n. Superinstructions
// that read elements (DotLoop.h) keep its operands here. Internal to the machine.
#pragma once

#include <cstdint>

namespace uvm {

// base (local offset) plus (local Index[i] + Add[i]) * Scale[i] for each term.
struct TElemLoad {
  std::int32_t Base = 0;
  int Terms = 0;
  std::int32_t Index[2] = {0, 0}, Add[2] = {0, 0}, Scale[2] = {0, 0};
};

// The element load at pos whose Deref takes n bytes: its length in instructions, or 0.
std::int32_t ParseElemLoad(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t pos,
                           std::int32_t count, std::int32_t n, TElemLoad &o);

}  // namespace uvm
