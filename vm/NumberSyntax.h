// The syntaxes of console number input ("ReadLn Int", "ReadLn Real").
#pragma once

#include <cstdint>
#include <string_view>

// Leading blanks, then a decimal number with optional sign in -2147483648..2147483647, or a
// hexadecimal one ("$", "x", "X", "0x", "0X" and at most eight significant digits, no sign) read
// as a 32-bit pattern. Nothing may follow. False leaves `value` alone.
bool TryStrToInt(std::string_view text, std::int32_t &value);

enum class TRealConversion { rcOk, rcBad, rcOverflow };

// Leading blanks, optional sign, digits with an optional "." and digits (at least one digit or
// the "."), an optional exponent "E"/"e" with optional sign and optional digits, trailing blanks.
// rcOverflow: the syntax is right but the value lies beyond the range of a double (a value too
// small for a double reads as zero). Only rcOk sets `value`.
TRealConversion TryStrToReal(std::string_view text, double &value);
