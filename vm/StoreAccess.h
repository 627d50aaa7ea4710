// Helpers of the interpreter for values in the store (little-endian, unaligned) and for the
// real arithmetic checks. Internal to the machine.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "Arithmetic.h"
#include "Instruction.h"

static_assert(std::endian::native == std::endian::little, "the store holds little-endian values");

namespace uvm {

inline std::int32_t LoadInt(const std::uint8_t *p) {
  std::int32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline void StoreInt(std::uint8_t *p, std::int32_t v) { std::memcpy(p, &v, 4); }
inline void StoreUInt(std::uint8_t *p, std::uint32_t v) { std::memcpy(p, &v, 4); }
inline double LoadReal(const std::uint8_t *p) {
  double v;
  std::memcpy(&v, p, 8);
  return v;
}
inline void StoreReal(std::uint8_t *p, double v) { std::memcpy(p, &v, 8); }

// A block of n bytes at s and at d lies inside 0..limit-1 (the last address is never part of
// a block move).
inline bool MoveFits(std::int64_t s, std::int64_t d, std::int64_t n, std::int64_t limit) {
  // Unsigned compares: a negative s or d turns huge and fails.
  return n >= 0 && n <= limit && static_cast<std::uint64_t>(s) <= static_cast<std::uint64_t>(limit - n) &&
         static_cast<std::uint64_t>(d) <= static_cast<std::uint64_t>(limit - n);
}

// Byte d+i := byte s+i for i = 0..n-1, in this order (an overlapping upward copy repeats).
inline void MoveStore(std::uint8_t *store, std::int64_t s, std::int64_t d, std::int64_t n) {
  // The common sizes of Booleans, integers and reals as one load and one store each.
  if (n == 1) {
    store[d] = store[s];
    return;
  }
  // A value is loaded, fixed up in a register when the blocks overlap (byte i of the copy is
  // then byte i mod (d-s) of the source) and stored whole, so that a later load of it can take
  // the value straight from the store.
  if (n == 4) {
    std::uint32_t v;
    std::memcpy(&v, store + s, 4);
    const std::int64_t k = d - s;
    if (static_cast<std::uint64_t>(k - 1) < 3) [[unlikely]]
      v = k == 1 ? (v & 0xFFu) * 0x01010101u : k == 2 ? (v & 0xFFFFu) * 0x00010001u : (v & 0xFFFFFFu) | (v << 24);
    std::memcpy(store + d, &v, 4);
    return;
  }
  if (n == 8) {
    std::uint8_t b[8];
    std::memcpy(b, store + s, 8);
    const std::int64_t k = d - s;
    if (static_cast<std::uint64_t>(k - 1) < 7) [[unlikely]]
      for (std::int64_t i = k; i < 8; ++i) b[i] = b[i - k];
    std::memcpy(store + d, b, 8);
    return;
  }
  if (d > s && d < s + n) {
    for (std::int64_t i = 0; i < n; ++i) store[d + i] = store[s + i];
  } else if (n > 0) {
    std::memmove(store + d, store + s, static_cast<std::size_t>(n));
  }
}

// Strings in the store: a length byte followed by the characters.
inline int CompareStr(const std::uint8_t *l, const std::uint8_t *r) {
  const unsigned ll = l[0], rl = r[0];
  const int c = std::memcmp(l + 1, r + 1, ll < rl ? ll : rl);
  if (c != 0) return c;
  return ll < rl ? -1 : ll > rl ? 1 : 0;
}
inline bool EqualStr(const std::uint8_t *l, const std::uint8_t *r) {
  return l[0] == r[0] && std::memcmp(l + 1, r + 1, l[0]) == 0;
}

enum TRealFault { rfNone, rfInvalid, rfZeroDivide, rfOverflow };

// The fault of a real operation l op r with result res: a NaN made from numbers is invalid, an
// infinity made from finite numbers an overflow. NaNs and infinities already present propagate.
inline TRealFault RealFault(double res, double l, double r) {
  if (__builtin_expect(std::isfinite(res), 1)) return rfNone;
  if (std::isnan(res) && !std::isnan(l) && !std::isnan(r)) return rfInvalid;
  if (std::isinf(res) && std::isfinite(l) && std::isfinite(r)) return rfOverflow;
  return rfNone;
}

// A NaN result carries the left operand's NaN if it is one, else the right one's (quieted), so
// that the result does not depend on the order in which the compiler put the operands.
inline double OrderedNaN(double res, double l, double r) {
  if (__builtin_expect(!std::isnan(res), 1)) return res;
  const double from = std::isnan(l) ? l : std::isnan(r) ? r : res;
  std::uint64_t bits;
  std::memcpy(&bits, &from, 8);
  bits |= 0x0008000000000000ull;
  double out;
  std::memcpy(&out, &bits, 8);
  return out;
}

inline TRealFault DivFault(double l, double r) {
  if (r != 0 || std::isnan(l) || std::isinf(l)) return rfNone;
  return l == 0 ? rfInvalid : rfZeroDivide;
}

// Thrown out of a line read when Stop was called while it waited for keys; Run and Step end
// quietly on it.
struct TRunStopped {};

// One decoded instruction of a run: where to dispatch, and the operand.
struct TSlot {
  union {
    const void *Target;  // computed goto
    std::uintptr_t Op;   // switch
  };
  union {
    std::int32_t I;
    double R;
    std::uint8_t B;
    const TShortString *S;
  };
};

}  // namespace uvm
