#include "FloatToStr.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

std::string IntToStr(std::int32_t value) { return std::to_string(value); }
std::string IntToStr(std::int64_t value) { return std::to_string(value); }

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";

  // d.dddddddddddddde[+-]x: the value rounded to 15 significant digits.
  char buf[40];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
  const std::size_t ePos = text.find('e');
  std::string digits;
  for (char c : text.substr(0, ePos))
    if (c != '.') digits += c;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  // Exponent e of 0.d1d2... x 10^e is one more than that of d1.d2... x 10^x.
  const int e = std::atoi(std::string(text.substr(ePos + 1)).c_str()) + 1;

  std::string out = value < 0 ? "-" : "";
  const int n = static_cast<int>(digits.size());
  if (e >= -3 && e <= 15) {
    if (e <= 0) {
      out += "0.";
      out.append(static_cast<std::size_t>(-e), '0');
      out += digits;
    } else if (n <= e) {
      out += digits;
      out.append(static_cast<std::size_t>(e - n), '0');
    } else {
      out += digits.substr(0, static_cast<std::size_t>(e));
      out += '.';
      out += digits.substr(static_cast<std::size_t>(e));
    }
  } else {
    out += digits[0];
    if (n > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(e - 1);
  }
  return out;
}
