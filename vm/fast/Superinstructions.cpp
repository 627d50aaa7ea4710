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
  const std::int32_t first = p.Split ? p.Split : p.Length;
  if (first > count - i) return false;
  std::int32_t target = 0;
  for (std::int32_t k = 0; k < p.Length; ++k) {
    if (k == first) {
      // The instructions at the jump's target, the target itself no barrier either.
      target = operands[i + first - 1];
      if (target < 0 || target > count - (p.Length - first)) return false;
    }
    const std::int32_t at = k < first ? i + k : target + (k - first);
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
