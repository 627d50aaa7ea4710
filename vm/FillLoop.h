// Loops whose body only stores one constant into array elements indexed by the loop's own
// counter ("FOR i := a TO b DO x[i] := c", "WHILE j <= n DO BEGIN x[j] := c; j := j + s END").
// The run loop runs many of their rounds at once when every store lands clear of the loop's
// counter, step, limit and scratch bytes; this file holds the arithmetic. Internal to the machine.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace uvm {

constexpr std::int64_t MinInt32 = -2147483647LL - 1;
constexpr std::int64_t MaxInt32 = 2147483647LL;

// Rounds of a loop whose counter starts at v (the round now starting) and moves by step (not 0)
// while `counter <= limit` (step > 0) or `counter >= limit` (step < 0) holds after each move:
// the round starting now runs whatever the test said before it. 0 when the counter would leave
// the Integer range before the test fails (the machine's wrap-around is left to the
// instructions themselves).
inline std::int64_t RoundsUntil(std::int64_t v, std::int64_t step, std::int64_t limit) {
  std::int64_t rounds = 1;
  if (step > 0 && v <= limit) rounds = (limit - v) / step + 1;
  if (step < 0 && v >= limit) rounds = (v - limit) / -step + 1;
  const std::int64_t end = v + rounds * step;
  return end < MinInt32 || end > MaxInt32 ? 0 : rounds;
}

// The stores of `rounds` rounds: elements of `size` bytes at first, first + stride, ...
struct TFillPlan {
  std::int64_t First, Stride, Rounds;
  int Size;

  // All of them inside 0..below-1 and clear of the 4-byte blocks at a and b.
  bool Clear(std::int64_t below, std::int64_t a, std::int64_t b) const {
    std::int64_t span, last;
    if (__builtin_mul_overflow(Rounds - 1, Stride, &span) || __builtin_add_overflow(First, span, &last)) return false;
    const std::int64_t lo = std::min(First, last), hi = std::max(First, last) + Size;
    return lo >= 0 && hi <= below && (hi <= a || lo >= a + 4) && (hi <= b || lo >= b + 4);
  }

  // Stores value (its low `Size` bytes, 1 or 4) in every element, in round order.
  void Run(std::uint8_t *store, std::uint32_t value) const {
    if (Size == 1 && (Stride == 1 || Stride == -1)) {
      const std::int64_t lo = Stride == 1 ? First : First - (Rounds - 1);
      std::memset(store + lo, static_cast<int>(value & 0xFF), static_cast<std::size_t>(Rounds));
      return;
    }
    if (Size == 1) {
      const auto byte = static_cast<std::uint8_t>(value);
      for (std::int64_t i = 0; i < Rounds; ++i) store[First + i * Stride] = byte;
    } else {
      for (std::int64_t i = 0; i < Rounds; ++i) std::memcpy(store + First + i * Stride, &value, 4);
    }
  }
};

// (a + b) * m + base without overflowing 64 bits; false if it would.
inline bool AddressTerm(std::int64_t a, std::int64_t b, std::int64_t m, std::int64_t base, std::int64_t &out) {
  std::int64_t product;
  return !__builtin_mul_overflow(a + b, m, &product) && !__builtin_add_overflow(base, product, &out);
}

// The plan of an element store base + (counter + c) * m over `rounds` rounds of the counter from
// v by step. All in 64 bits: where every address lands inside the store, the machine's 32-bit
// wrap-around arithmetic gives the same addresses. False if the numbers leave 64 bits.
inline bool PlanFill(std::int32_t base, std::int32_t c, std::int32_t m, std::int64_t v, std::int64_t step,
                     std::int64_t rounds, int size, TFillPlan &plan) {
  plan = TFillPlan{0, step * m, rounds, size};
  return AddressTerm(v, c, m, base, plan.First);
}

}  // namespace uvm
