#include "Fusion.h"

#include "DotLoop.h"
#include "Instruction.h"

namespace uvm {

namespace {

constexpr TFused CompareJump[6] = {fxLTIntJ, fxLEIntJ, fxGTIntJ, fxGEIntJ, fxEQIntJ, fxNEIntJ};
constexpr TFused RealCompareJump[6] = {fxLTRealJ, fxLERealJ, fxGTRealJ, fxGERealJ, fxEQRealJ, fxNERealJ};
constexpr TFused LoadLocalCompareJump[6] = {fxLoadLocalLTIntJ, fxLoadLocalLEIntJ, fxLoadLocalGTIntJ,
                                            fxLoadLocalGEIntJ, fxLoadLocalEQIntJ, fxLoadLocalNEIntJ};
constexpr TFused LocalConstCompareJump[6] = {fxLocalConstLTJ, fxLocalConstLEJ, fxLocalConstGTJ,
                                             fxLocalConstGEJ, fxLocalConstEQJ, fxLocalConstNEJ};
constexpr TFused ConstCompareJump[6] = {fxConstLTIntJ, fxConstLEIntJ, fxConstGTIntJ,
                                        fxConstGEIntJ, fxConstEQIntJ, fxConstNEIntJ};

TFused ConstOp(std::uint8_t op) {
  switch (op) {
    case ocAddInt: return fxConstAddInt;
    case ocSubInt: return fxConstSubInt;
    case ocMulInt: return fxConstMulInt;
    case ocAndInt: return fxConstAndInt;
    case ocOrInt: return fxConstOrInt;
    case ocXorInt: return fxConstXorInt;
    case ocShlInt: return fxConstShlInt;
    case ocShrInt: return fxConstShrInt;
    default: return fxNone;
  }
}

bool IsIntCompare(std::uint8_t op) { return op >= ocLTInt && op <= ocNEInt; }
bool IsRealCompare(std::uint8_t op) { return op >= ocLTReal && op <= ocNEReal; }

constexpr TFused ElemCompareJump[6] = {fxElemLTLocalJ, fxElemLELocalJ, fxElemGTLocalJ,
                                       fxElemGELocalJ, fxElemEQLocalJ, fxElemNELocalJ};
constexpr TFused ElemIncCompareJump[6] = {fxElemIncLTLocalJ, fxElemIncLELocalJ, fxElemIncGTLocalJ,
                                          fxElemIncGELocalJ, fxElemIncEQLocalJ, fxElemIncNELocalJ};

// PushMP IncInt k Deref 4, an integer compare, JifF at instruction k.
bool LoadLocalCompareAt(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t k, std::int32_t count) {
  return k + 4 < count && ops[k] == ocPushMP && ops[k + 1] == ocIncInt && ops[k + 2] == ocDeref &&
         operands[k + 2] == 4 && IsIntCompare(ops[k + 3]) && ops[k + 4] == ocJifF;
}

// A loop test the back edge at instruction `from` can run in place: the superinstruction at jump
// target t before it, if it is a FOR test, a local compared with a constant (LT, LE, GT, GE) or
// a Boolean local.
TFused TestAt(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t t, std::int32_t from,
              std::int32_t count) {
  // Only a Dup or a PushMP IncInt Deref start: their matching never follows another jump.
  if (t < 0 || t >= from) return fxNone;
  if (ops[t] != ocDup && !(ops[t] == ocPushMP && t + 2 < count && ops[t + 1] == ocIncInt && ops[t + 2] == ocDeref))
    return fxNone;
  const TFused f = FindFused(ops, operands, t, count);
  return f == fxForGEJ || f == fxForLEJ || (f >= fxLocalConstLTJ && f <= fxLocalConstGEJ) || f == fxLoadLocalJifF
             ? f
             : fxNone;
}

// An element load at k: PushMP IncInt base PushMP IncInt j Deref 4 [IncInt c] PushInt m Mul Int
// Add Int Deref n. Its length (10 with IncInt c, 9 without) and n, or 0. A plain pattern match:
// the decoder's look-ahead never recurses along a run of such sequences.
std::int32_t ElemLoadAt(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t k, std::int32_t count,
                        std::int32_t &n) {
  auto at = [&](std::int32_t d, std::uint8_t op) { return k + d < count && ops[k + d] == op; };
  if (!at(0, ocPushMP) || !at(1, ocIncInt) || !at(2, ocPushMP) || !at(3, ocIncInt) || !at(4, ocDeref) ||
      operands[k + 4] != 4)
    return 0;
  const std::int32_t e = at(5, ocIncInt) ? 6 : 5;
  if (!at(e, ocPushInt) || !at(e + 1, ocMulInt) || !at(e + 2, ocAddInt) || !at(e + 3, ocDeref)) return 0;
  n = operands[k + e + 3];
  return e + 4;
}

// An element load and Sto n at k: whether it has IncInt c (1), has none (0), or is not there (-1).
int ElemLoadStoAt(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t k, std::int32_t count) {
  std::int32_t n = 0;
  const std::int32_t length = ElemLoadAt(ops, operands, k, count, n);
  if (length == 0 || k + length >= count || ops[k + length] != ocSto || operands[k + length] != n) return -1;
  return length == 10 ? 1 : 0;
}

// An element address (the first `length` instructions at i) followed by an element load and
// Sto: one element copied to another.
TFused ElemCopyAt(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t i, std::int32_t length,
                  std::int32_t count, TFused ifPlain, TFused ifInc) {
  const int load = ElemLoadStoAt(ops, operands, i + length, count);
  return load == 0 ? ifPlain : load == 1 ? ifInc : fxNone;
}

// An integer element load of `length` instructions at i followed by another one, an integer
// compare and JifF: the pair kind of that compare, the first of six (LT .. NE), or fxNone.
TFused PairAt(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t i, std::int32_t length,
              std::int32_t count, TFused ifIncNext, TFused ifPlainNext) {
  const std::int32_t y = i + length;
  std::int32_t n = 0;
  const std::int32_t yLength = operands[y - 1] == 4 ? ElemLoadAt(ops, operands, y, count, n) : 0;
  const std::int32_t c = y + yLength;
  if (yLength == 0 || n != 4 || c + 1 >= count || !IsIntCompare(ops[c]) || ops[c + 1] != ocJifF) return fxNone;
  return static_cast<TFused>((yLength == 10 ? ifIncNext : ifPlainNext) + (ops[c] - ocLTInt));
}

// An element address (the first `length` instructions at i) followed by PushMP IncInt y Deref n
// Sto n: a local stored into the element.
bool StoLocalAt(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t i, std::int32_t count) {
  return i + 3 < count && ops[i] == ocPushMP && ops[i + 1] == ocIncInt && ops[i + 2] == ocDeref &&
         ops[i + 3] == ocSto && operands[i + 3] == operands[i + 2];
}

// An element store of `length` instructions at i, indexed by a local: when it is the whole body
// of a loop (the loop's test ends right before it; the counter's step and the back edge to that
// test follow it) whose counter is that local, the fill loop of its kind; else `store`.
// `kind` is the store's place in the four kinds of a fill family (BoolInc, IntInc, Bool, Int).
TFused FillLoopAt(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t i, std::int32_t length,
                  std::int32_t count, TFused store, int kind) {
  const std::int32_t t = i - 6, next = i + length;
  if (t < 0 || next >= count) return store;
  const std::int32_t counter = operands[i + 3];
  const TFused step = FindFused(ops, operands, next, count);
  if ((step == fxIncLocalForGE || step == fxIncLocalForLE) && operands[next + 7] == t &&
      operands[next + 1] == counter && operands[t + 2] == counter &&
      operands[next + 5] == (step == fxIncLocalForGE ? 1 : -1))
    return static_cast<TFused>((step == fxIncLocalForGE ? fxFillUpBoolInc : fxFillDownBoolInc) + kind);
  if ((step == fxLocalAddLocalLETest || step == fxLocalAddLocalLTTest) && operands[next + 10] == t &&
      operands[next + 1] == counter && operands[t + 1] == counter)
    return static_cast<TFused>((step == fxLocalAddLocalLETest ? fxFillStrideLEBoolInc : fxFillStrideLTBoolInc) + kind);
  return store;
}

}  // namespace

TFused FindFused(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t i, std::int32_t count) {
  const std::int32_t left = count - i;
  auto at = [&](std::int32_t k, std::uint8_t op) { return k < left && ops[i + k] == op; };

  if (ops[i] == ocPushMP) {
    if (TDotLoop dot; DescribeDotLoop(ops, operands, i, count, dot)) return fxDotLoop;
    if (at(1, ocIncInt) && at(2, ocPushMP) && at(3, ocIncInt) && at(4, ocPushMP)) {
      const int load = ElemLoadStoAt(ops, operands, i + 2, count);
      if (load >= 0) return load == 1 ? fxLocalStoElemInc : fxLocalStoElem;
    }
    // Assignments of a local, of a field through a pointer, and to a field through a pointer.
    if (at(1, ocIncInt) && at(2, ocPushMP) && at(3, ocIncInt) && at(4, ocDeref) && at(5, ocSto) &&
        operands[i + 5] == operands[i + 4])
      return at(6, ocJump) ? fxCopyLocalJump : fxCopyLocal;
    if (at(1, ocIncInt) && at(2, ocPushMP) && at(3, ocIncInt) && at(4, ocDeref) && operands[i + 4] == 4) {
      if (at(5, ocIncInt) && at(6, ocDeref) && at(7, ocSto) && operands[i + 7] == operands[i + 6]) return fxFieldIncSto;
      if (at(5, ocDeref) && at(6, ocSto) && operands[i + 6] == operands[i + 5]) return fxFieldSto;
    }
    if (at(1, ocIncInt) && at(2, ocDeref) && operands[i + 2] == 4) {
      if (at(3, ocIncInt) && at(4, ocPushMP) && at(5, ocIncInt) && at(6, ocDeref) && at(7, ocSto) &&
          operands[i + 7] == operands[i + 6])
        return fxStoIncField;
      if (at(3, ocPushMP) && at(4, ocIncInt) && at(5, ocDeref) && at(6, ocSto) && operands[i + 6] == operands[i + 5])
        return fxStoField;
    }
    if (at(1, ocIncInt) && at(2, ocPushMP) && at(3, ocIncInt) && at(4, ocDeref) && operands[i + 4] == 4) {
      if (at(5, ocIncInt) && at(6, ocPushInt) && at(7, ocMulInt) && at(8, ocAddInt) && at(9, ocPushMP) &&
          at(10, ocIncInt) && at(11, ocDeref) && operands[i + 11] == 4 && at(12, ocIncInt) && at(13, ocPushInt) &&
          at(14, ocMulInt) && at(15, ocAddInt) && at(16, ocDeref))
        return fxElem2DLoad;
      // One index term, with or without IncInt c; a is the instruction after the address.
      const bool inc = at(5, ocIncInt);
      const std::int32_t a = inc ? 9 : 8;
      if (at(a - 3, ocPushInt) && at(a - 2, ocMulInt) && at(a - 1, ocAddInt)) {
        auto pick = [inc](TFused withInc, TFused without) { return inc ? withInc : without; };
        if (at(a, ocDeref) && at(a + 1, ocSto) && operands[i + a + 1] == operands[i + a])
          return pick(fxElemLoadStoInc, fxElemLoadSto);
        if (at(a, ocPushBool) && at(a + 1, ocSto) && operands[i + a + 1] == 1)
          return FillLoopAt(ops, operands, i, a + 2, count, pick(fxElemStoreBoolInc, fxElemStoreBool), inc ? 0 : 2);
        if (at(a, ocPushInt) && at(a + 1, ocSto) && operands[i + a + 1] == 4)
          return FillLoopAt(ops, operands, i, a + 2, count, pick(fxElemStoreIntInc, fxElemStoreInt), inc ? 1 : 3);
        if (at(a, ocDeref) && operands[i + a] == 1 && at(a + 1, ocNotBool) && at(a + 2, ocJifF))
          return pick(fxElemLoadIncNotJifF, fxElemLoadNotJifF);
        if (at(a, ocDeref) && operands[i + a] == 4 && LoadLocalCompareAt(ops, operands, i + a + 1, count))
          return (inc ? ElemIncCompareJump : ElemCompareJump)[ops[i + a + 4] - ocLTInt];
        if (at(a, ocDeref)) {
          const TFused pair = PairAt(ops, operands, i, a + 1, count, pick(fxPairIncIncLTJ, fxPairPlainIncLTJ),
                                     pick(fxPairIncPlainLTJ, fxPairPlainPlainLTJ));
          return pair != fxNone ? pair : pick(fxElemLoadInc, fxElemLoad);
        }
        if (StoLocalAt(ops, operands, i + a, count)) return pick(fxElemIncStoLocal, fxElemStoLocal);
        const TFused copy = ElemCopyAt(ops, operands, i, a, count, pick(fxElemIncCopy, fxElemCopy),
                                       pick(fxElemIncCopyInc, fxElemCopyInc));
        return copy != fxNone ? copy : pick(fxElemAddrInc, fxElemAddr);
      }
      if (operands[i + 1] == operands[i + 3] && at(5, ocPushMP) && at(6, ocIncInt) && at(7, ocDeref) &&
          operands[i + 7] == 4 && (at(8, ocAddInt) || at(8, ocSubInt)) && at(9, ocSto) && operands[i + 9] == 4) {
        const TFused test = at(10, ocJump) ? TestAt(ops, operands, operands[i + 10], i + 10, count) : fxNone;
        const int t = test >= fxLocalConstLTJ && test <= fxLocalConstGEJ ? test - fxLocalConstLTJ : -1;
        if (ops[i + 8] == ocAddInt) return t < 0 ? fxLocalAddLocal : static_cast<TFused>(fxLocalAddLocalLTTest + t);
        return t < 0 ? fxLocalSubLocal : static_cast<TFused>(fxLocalSubLocalLTTest + t);
      }
    }
    if (at(1, ocIncInt) && at(2, ocPushMP) && at(3, ocIncInt) && at(4, ocDeref) && at(5, ocIncInt) &&
        at(6, ocSto) && operands[i + 1] == operands[i + 3] && operands[i + 4] == 4 && operands[i + 6] == 4)
    {
      if (!at(7, ocJump)) return fxIncLocal;
      const TFused test = TestAt(ops, operands, operands[i + 7], i + 7, count);
      if (test == fxForGEJ) return fxIncLocalForGE;
      if (test == fxForLEJ) return fxIncLocalForLE;
      if (test >= fxLocalConstLTJ && test <= fxLocalConstGEJ)
        return static_cast<TFused>(fxIncLocalLTTest + (test - fxLocalConstLTJ));
      if (test == fxLoadLocalJifF) return fxIncLocalBoolTest;
      return fxIncLocalJump;
    }
    if (at(1, ocIncInt) && at(2, ocPushMP) && at(3, ocIncInt) && at(4, ocDeref)) return fxLocalAddrLoad;
    if (at(1, ocIncInt) && at(2, ocDeref) && operands[i + 2] == 4) {
      if (at(3, ocIncInt) && at(4, ocPushInt) && at(5, ocMulInt) && at(6, ocAddInt))
        return at(7, ocDeref) ? fxAddIndexIncLoad : fxAddIndexInc;
      if (at(3, ocPushInt) && at(4, ocMulInt) && at(5, ocAddInt)) return at(6, ocDeref) ? fxAddIndexLoad : fxAddIndex;
      if (at(3, ocPushInt) && left > 5 && IsIntCompare(ops[i + 4]) && ops[i + 5] == ocJifF)
        return LocalConstCompareJump[ops[i + 4] - ocLTInt];
      // Four raw bytes compare as an integer does.
      if (at(3, ocPushInt) && (at(4, ocEQ) || at(4, ocNE)) && operands[i + 4] == 4 && at(5, ocJifF))
        return ops[i + 4] == ocEQ ? fxLocalConstEQJ : fxLocalConstNEJ;
      if (at(3, ocDeref)) return fxLoadIndirect;
      if (at(3, ocIncInt) && at(4, ocDeref)) return fxLoadField;
    }
    if (at(1, ocIncInt) && at(2, ocDeref) && operands[i + 2] == 4 && left > 4 && IsIntCompare(ops[i + 3]) &&
        ops[i + 4] == ocJifF)
      return LoadLocalCompareJump[ops[i + 3] - ocLTInt];
    if (at(1, ocIncInt) && at(2, ocDeref) && operands[i + 2] == 4 && at(3, ocIncInt)) return fxLoadLocalInc;
    if (at(1, ocPushPC)) return fxPushLinks;
    if (at(1, ocIncInt) && at(2, ocDeref) && operands[i + 2] == 1 && at(3, ocJifF)) return fxLoadLocalJifF;
    if (at(1, ocIncInt) && at(2, ocPushInt) && at(3, ocSto) && operands[i + 3] == 4) return fxStoreLocalInt;
    if (at(1, ocIncInt) && at(2, ocPushBool) && at(3, ocSto) && operands[i + 3] == 1) return fxStoreLocalBool;
    if (at(1, ocIncInt) && at(2, ocDeref) && at(3, ocPushMP) && at(4, ocIncInt) && at(5, ocDeref) && left > 6 &&
        operands[i + 2] == operands[i + 5]) {
      const std::int32_t n = operands[i + 2];
      const std::uint8_t next = ops[i + 6];
      if (n == 4 && (next == ocAddInt || next == ocSubInt || next == ocMulInt))
        return static_cast<TFused>(fxLocalsAddInt + (next - ocAddInt));
      if (n == 8 && next >= ocAddReal && next <= ocDivReal)
        return static_cast<TFused>(fxLocalsAddReal + (next - ocAddReal));
    }
    if (at(1, ocIncInt) && at(2, ocDeref) && left > 3) {
      const std::int32_t n = operands[i + 2];
      const std::uint8_t next = ops[i + 3];
      if (n == 4 && (next == ocAddInt || next == ocSubInt || next == ocMulInt))
        return static_cast<TFused>(fxLoadLocalAddInt + (next - ocAddInt));
      if (n == 8 && next >= ocAddReal && next <= ocDivReal)
        return static_cast<TFused>(fxLoadLocalAddReal + (next - ocAddReal));
    }
    if (at(1, ocIncInt) && at(2, ocDeref)) return fxLoadLocal;
    if (at(1, ocDeref)) return fxLoadMP;
    if (at(1, ocIncInt)) return fxLocalAddr;
    return fxNone;
  }
  if (ops[i] == ocPushInt) {
    if (left > 2 && IsIntCompare(ops[i + 1]) && ops[i + 2] == ocJifF)
      return ConstCompareJump[ops[i + 1] - ocLTInt];
    // Four raw bytes compare as an integer does.
    if ((at(1, ocEQ) || at(1, ocNE)) && operands[i + 1] == 4 && at(2, ocJifF))
      return ops[i + 1] == ocEQ ? fxConstEQIntJ : fxConstNEIntJ;
    if (operands[i] != 0 && at(1, ocDivInt)) return fxConstDivInt;
    if (operands[i] != 0 && at(1, ocModInt)) return fxConstModInt;
    if (at(1, ocMulInt) && at(2, ocAddInt)) return fxConstMulAdd;
    if (at(1, ocSto) && operands[i + 1] == 4) return fxStoConstInt;
    if (at(1, ocIntToReal)) return fxConstToReal;
    if (left > 1) return ConstOp(ops[i + 1]);
    return fxNone;
  }
  if (ops[i] == ocDup && operands[i] == 4 && at(1, ocPushMP) && at(2, ocIncInt) && at(3, ocDeref) &&
      operands[i + 3] == 4 && at(5, ocJifF)) {
    if (at(4, ocGEInt)) return fxForGEJ;
    if (at(4, ocLEInt)) return fxForLEJ;
  }
  if (ops[i] == ocSetMP && at(1, ocJump)) return fxSetMPJump;
  if (ops[i] == ocSto && at(1, ocJump)) return fxStoJump;
  if (ops[i] == ocSto && at(1, ocRet)) return fxStoRet;
  if (ops[i] == ocJump && operands[i] >= 0 && operands[i] < count && ops[operands[i]] == ocRet) return fxJumpRet;
  if (ops[i] == ocAddInt && at(1, ocSto) && operands[i + 1] == 4) return at(2, ocRet) ? fxAddIntStoRet : fxAddIntSto;
  if (ops[i] == ocSubInt && at(1, ocSto) && operands[i + 1] == 4) return at(2, ocRet) ? fxSubIntStoRet : fxSubIntSto;
  if (ops[i] == ocIncSP && at(1, ocPushMP) && at(2, ocDeref))
    return at(3, ocPushMP) && at(4, ocPushPC) ? fxCallLinks : fxIncSPLoadMP;
  if (ops[i] == ocMulReal && at(1, ocAddReal)) return fxMulAddReal;
  if (ops[i] == ocPushBool && at(1, ocSto) && operands[i + 1] == 1) return fxStoConstBool;
  if (ops[i] == ocIncInt && at(1, ocPushInt) && at(2, ocMulInt) && at(3, ocAddInt)) return fxIncMulAdd;
  if (IsIntCompare(ops[i]) && at(1, ocJifF)) return CompareJump[ops[i] - ocLTInt];
  if (IsRealCompare(ops[i]) && at(1, ocJifF)) return RealCompareJump[ops[i] - ocLTReal];
  if (ops[i] == ocNotBool && at(1, ocJifF)) return fxNotJifF;
  return fxNone;
}

}  // namespace uvm
