// The machine's arithmetic rules that the compiler's constant folding applies too: rounding,
// the range of Sin and Cos, DIV and MOD by -1. One copy for both, so that a folded constant
// and the same expression computed at run time agree.
#pragma once

#include <cmath>
#include <cstdint>
#include <type_traits>

namespace uvm {

// Round half to even as a 64-bit integer; false for NaN and magnitudes of 2^63 or more.
inline bool RoundToInt64(double r, std::int64_t &out) {
  if (!(std::fabs(r) < 9223372036854775808.0)) return false;
  double f = std::floor(r);
  const double diff = r - f;  // exact
  if (diff > 0.5 || (diff == 0.5 && std::fmod(f, 2.0) != 0)) f += 1;
  if (!(f < 9223372036854775808.0)) return false;  // just below 2^63, rounded up to it
  out = static_cast<std::int64_t>(f);
  return true;
}

// Sine and cosine are 0 for magnitudes of 2^63 or more.
inline bool TrigOutOfRange(double r) { return std::fabs(r) >= 9223372036854775808.0; }
inline double SinOf(double r) { return TrigOutOfRange(r) ? 0.0 : std::sin(r); }
inline double CosOf(double r) { return TrigOutOfRange(r) ? 0.0 : std::cos(r); }

// DIV and MOD of two's complement integers, b not 0: the most negative number DIV -1 wraps to
// itself instead of trapping, and anything MOD -1 is 0.
template <class T>
T DivInt(T a, T b) {
  using U = std::make_unsigned_t<T>;
  return b == -1 ? static_cast<T>(U{0} - static_cast<U>(a)) : a / b;
}
template <class T>
T ModInt(T a, T b) {
  return b == -1 ? T{0} : a % b;
}

}  // namespace uvm
