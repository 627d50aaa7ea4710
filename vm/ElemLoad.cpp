#include "ElemLoad.h"

#include "Instruction.h"

namespace uvm {

std::int32_t ParseElemLoad(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t pos,
                           std::int32_t count, std::int32_t n, TElemLoad &o) {
  auto at = [&](std::int32_t k, std::uint8_t op) { return pos + k < count && ops[pos + k] == op; };
  if (!at(0, ocPushMP) || !at(1, ocIncInt)) return 0;
  o.Base = operands[pos + 1];
  o.Terms = 0;
  std::int32_t k = 2;
  while (o.Terms < 2 && at(k, ocPushMP) && at(k + 1, ocIncInt) && at(k + 2, ocDeref) && operands[pos + k + 2] == 4) {
    const std::int32_t index = operands[pos + k + 1];
    std::int32_t add = 0, j = k + 3;
    if (at(j, ocIncInt)) add = operands[pos + j++];
    if (!at(j, ocPushInt) || !at(j + 1, ocMulInt) || !at(j + 2, ocAddInt)) return 0;
    o.Index[o.Terms] = index;
    o.Add[o.Terms] = add;
    o.Scale[o.Terms] = operands[pos + j];
    ++o.Terms;
    k = j + 3;
  }
  if (o.Terms == 0 || !at(k, ocDeref) || operands[pos + k] != n) return 0;
  return k + 1;
}

}  // namespace uvm
