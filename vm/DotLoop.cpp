#include "DotLoop.h"

#include <algorithm>

#include "ElemLoad.h"
#include "FillLoop.h"
#include "Fusion.h"
#include "Instruction.h"
#include "Interpreter.h"
#include "StoreAccess.h"

namespace uvm {

namespace {

bool Overlap(std::int64_t a, std::int64_t aSize, std::int64_t b, std::int64_t bSize) {
  return a < b + bSize && b < a + aSize;
}

struct TLinear {
  std::int64_t First, Stride;
};

}  // namespace

bool DescribeDotLoop(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t b, std::int32_t count,
                     TDotLoop &d) {
  const std::int32_t t = b - 6;
  if (t < 0 || b + 5 >= count) return false;
  if (ops[b] != ocPushMP || ops[b + 1] != ocIncInt || ops[b + 2] != ocPushMP || ops[b + 3] != ocIncInt ||
      ops[b + 4] != ocDeref || operands[b + 1] != operands[b + 3])
    return false;
  const std::int32_t n = operands[b + 4];
  if (n != 4 && n != 8) return false;
  std::int32_t pos = b + 5;
  const std::int32_t lx = ParseElemLoad(ops, operands, pos, count, n, d.X);
  if (lx == 0) return false;
  pos += lx;
  const std::int32_t ly = ParseElemLoad(ops, operands, pos, count, n, d.Y);
  if (ly == 0) return false;
  pos += ly;
  if (pos + 3 >= count || ops[pos] != (n == 8 ? ocMulReal : ocMulInt) ||
      ops[pos + 1] != (n == 8 ? ocAddReal : ocAddInt) || ops[pos + 2] != ocSto || operands[pos + 2] != n)
    return false;
  pos += 3;
  const TFused step = FindFused(ops, operands, pos, count);
  if ((step != fxIncLocalForGE && step != fxIncLocalForLE) || operands[pos + 7] != t ||
      operands[pos + 1] != operands[t + 2] || operands[pos + 5] != (step == fxIncLocalForGE ? 1 : -1))
    return false;
  d.Real = n == 8;
  d.Acc = operands[b + 1];
  d.Counter = operands[t + 2];
  d.Step = step == fxIncLocalForGE ? 1 : -1;
  return true;
}

std::int64_t RunDotRounds(std::uint8_t *store, const TDotLoop &d, std::int32_t mp, std::int32_t sp,
                          std::int64_t maxRounds) {
  const std::int64_t n = d.Real ? 8 : 4;
  // Room above SP for every round's own pushes (at most 32 bytes), so that no round but a
  // failing real one can stop the loop.
  if (sp < 7 || sp > TUVCInterpreter::StoreLimit - 48) return 0;
  auto local = [&](std::int32_t offset) {
    return static_cast<std::int64_t>(
        static_cast<std::int32_t>(static_cast<std::uint32_t>(mp) + static_cast<std::uint32_t>(offset)));
  };
  // The counter and s change every round: both lie below the limit on the stack, apart.
  const std::int64_t limitAt = sp - 3, top = sp + 1;
  const std::int64_t kAt = local(d.Counter), sAt = local(d.Acc);
  if (kAt < 0 || kAt + 4 > limitAt || sAt < 0 || sAt + n > limitAt || Overlap(kAt, 4, sAt, n)) return 0;
  const std::int32_t v = LoadInt(store + kAt);
  const std::int64_t rounds = std::min(RoundsUntil(v, d.Step, LoadInt(store + limitAt)), maxRounds) - 1;
  if (rounds <= 0) return 0;

  // Each factor's element moves linearly with the counter; all of them below SP, apart from the
  // counter and s, and every other index a local apart from both.
  auto plan = [&](const TElemLoad &o, TLinear &out) {
    std::int64_t first = local(o.Base), stride = 0;
    for (int i = 0; i < o.Terms; ++i) {
      const std::int64_t at = local(o.Index[i]);
      std::int64_t value;
      if (at == kAt) {
        value = v;
        stride += static_cast<std::int64_t>(d.Step) * o.Scale[i];
      } else {
        if (at < 0 || at + 4 > top || Overlap(at, 4, kAt, 4) || Overlap(at, 4, sAt, n)) return false;
        value = LoadInt(store + at);
      }
      if (!AddressTerm(value, o.Add[i], o.Scale[i], first, first)) return false;
    }
    const std::int64_t last = first + (rounds - 1) * stride;
    const std::int64_t lo = std::min(first, last), hi = std::max(first, last) + n;
    out = TLinear{first, stride};
    return lo >= 0 && hi <= top && !Overlap(lo, hi - lo, kAt, 4) && !Overlap(lo, hi - lo, sAt, n);
  };
  TLinear x{}, y{};
  if (!plan(d.X, x) || !plan(d.Y, y)) return 0;

  std::int64_t done = rounds;
  if (d.Real) {
    double acc = LoadReal(store + sAt), before = acc;
    for (std::int64_t r = 0; r < rounds; ++r) {
      const double a = LoadReal(store + x.First + r * x.Stride), b = LoadReal(store + y.First + r * y.Stride);
      const double product = OrderedNaN(a * b, a, b);
      const double sum = OrderedNaN(acc + product, acc, product);
      if (RealFault(product, a, b) != rfNone || RealFault(sum, acc, product) != rfNone) {
        // The round before the failing one runs on its own too, so that the failure finds the
        // bytes that round leaves.
        done = r - 1;
        acc = before;
        break;
      }
      before = acc;
      acc = sum;
    }
    if (done <= 0) return 0;
    StoreReal(store + sAt, acc);
  } else {
    std::uint32_t acc = static_cast<std::uint32_t>(LoadInt(store + sAt));
    for (std::int64_t r = 0; r < rounds; ++r)
      acc += static_cast<std::uint32_t>(LoadInt(store + x.First + r * x.Stride)) *
             static_cast<std::uint32_t>(LoadInt(store + y.First + r * y.Stride));
    StoreUInt(store + sAt, acc);
  }
  StoreInt(store + kAt, static_cast<std::int32_t>(v + done * d.Step));
  return done;
}

}  // namespace uvm
