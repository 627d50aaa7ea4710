// Accumulating FOR loops: "FOR k := a TO b DO s := s + x[..] * y[..]" where each element's
// index terms are locals (the loop's counter among them, or not) plus constants, over Integer or
// Real values. The run loop runs all rounds but the last at once, keeping s in a register and
// writing back only s and the counter; the last round then runs instruction by instruction, so
// that the bytes it leaves above SP are exactly those of an ordinary run. Internal to the machine.
#pragma once

#include <cstdint>

#include "ElemLoad.h"

namespace uvm {

struct TDotLoop {
  bool Real = false;         // 8-byte reals, else 4-byte integers
  std::int32_t Acc = 0;      // local offset of s
  std::int32_t Counter = 0;  // local offset of k
  std::int32_t Step = 1;     // +1 (TO) or -1 (DOWNTO)
  TElemLoad X, Y;             // the two factors, in the order they are loaded
};

// Whether the instructions from b on are the body of such a loop, right after its FOR test and
// followed by the counter's step and the back edge to that test; fills d if so.
bool DescribeDotLoop(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t b, std::int32_t count,
                     TDotLoop &d);

// Runs the rounds of the loop at SP sp and MP mp that can run at once, all but the last one, at
// most maxRounds - 1 of them, and stops before a round whose real arithmetic would fail. Writes
// back s and the counter and answers the number of rounds run (0 when the loop's bytes, the
// store's edges or the arithmetic leave nothing to do at once).
std::int64_t RunDotRounds(std::uint8_t *store, const TDotLoop &d, std::int32_t mp, std::int32_t sp,
                          std::int64_t maxRounds);

}  // namespace uvm
