#include "Superinstructions.h"

#include <algorithm>
#include <array>

#include "Instruction.h"

namespace uvm {

#define X(e, length, text) text,
const char *const FusedDeclarations[FusedCount] = {
#include "FusedKinds.inc"
};
#undef X

const TFusedPattern FusedPatterns[FusedCount] = {
#include "FusedPatterns.inc"
};

namespace {

// The kinds by first opcode, longest first (declaration order among equally long ones).
using TByFirst = std::array<std::vector<const TFusedPattern *>, OpcodeCount>;

TByFirst SortByFirst() {
  TByFirst by;
  for (const TFusedPattern &p : FusedPatterns) by[p.Ops[0]].push_back(&p);
  for (auto &list : by)
    std::stable_sort(list.begin(), list.end(),
                     [](const TFusedPattern *a, const TFusedPattern *b) { return a->Length > b->Length; });
  return by;
}

bool Matches(const TFusedPattern &p, const std::uint8_t *ops, const std::int32_t *operands, std::int32_t i,
             std::int32_t count, const std::vector<bool> &barrier) {
  if (p.Length > count - i) return false;
  for (std::int32_t k = 0; k < p.Length; ++k) {
    const std::int32_t at = i + k;
    if (ops[at] != p.Ops[k] || (p.Fixed[k] && operands[at] != p.Values[k])) return false;
    if (k > 0 && !barrier.empty() && barrier[static_cast<std::size_t>(at)]) return false;
  }
  return true;
}

}  // namespace

TFused FindFused(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t i, std::int32_t count,
                 const std::vector<bool> &barrier) {
  static const TByFirst byFirst = SortByFirst();
  if (ops[i] >= OpcodeCount) return fxNone;
  for (const TFusedPattern *p : byFirst[ops[i]])
    if (Matches(*p, ops, operands, i, count, barrier)) return p->Kind;
  return fxNone;
}

}  // namespace uvm
