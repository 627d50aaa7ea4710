// Number-to-text conversions shared by the interpreter, the listing and the compiler's folding.
// Both are locale-independent ("." is always the decimal separator).
#pragma once

#include <cstdint>
#include <string>

// Decimal text: "-" before negative numbers, no leading zeros, no blanks.
std::string IntToStr(std::int32_t value);
std::string IntToStr(std::int64_t value);

// General format with 15 significant digits: fixed notation for decimal exponents -3..15
// (0.0001, 100, 999999999999999), otherwise scientific ("1E15", "1E-5", "-2.5E-10"). Trailing
// zeros are dropped. NaN gives "NAN", infinities "INF" and "-INF".
std::string FloatToStr(double value);
