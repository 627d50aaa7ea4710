#include "NumberSyntax.h"

#include <charconv>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHex(std::string_view digits, std::int32_t &value) {
  if (digits.empty()) return false;
  std::uint32_t v = 0;
  int significant = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    if (significant > 0 || d != 0) ++significant;
    if (significant > 8) return false;
    v = (v << 4) | static_cast<std::uint32_t>(d);
  }
  value = static_cast<std::int32_t>(v);
  return true;
}

}  // namespace

bool TryStrToInt(std::string_view text, std::int32_t &value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  text.remove_prefix(i);
  if (text.empty()) return false;

  if (text[0] == '$' || text[0] == 'x' || text[0] == 'X') return ParseHex(text.substr(1), value);
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return ParseHex(text.substr(2), value);

  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  std::int64_t v = 0;
  for (char c : text) {
    if (!IsDigit(c)) return false;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

TRealConversion TryStrToReal(std::string_view text, double &value) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;

  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t intStart = i;
  while (i < n && IsDigit(text[i])) ++i;
  const std::string_view intDigits = text.substr(intStart, i - intStart);
  std::string_view fracDigits;
  bool point = false;
  if (i < n && text[i] == '.') {
    point = true;
    const std::size_t fracStart = ++i;
    while (i < n && IsDigit(text[i])) ++i;
    fracDigits = text.substr(fracStart, i - fracStart);
  }
  if (intDigits.empty() && fracDigits.empty() && !point) return TRealConversion::rcBad;

  // The exponent, clamped far beyond any double so that huge digit strings cannot overflow.
  long exponent = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool expNegative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) expNegative = text[i++] == '-';
    while (i < n && IsDigit(text[i])) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
      ++i;
    }
    if (expNegative) exponent = -exponent;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return TRealConversion::rcBad;

  std::string normal(negative ? "-" : "");
  normal += intDigits.empty() ? std::string_view("0") : intDigits;
  normal += '.';
  normal += fracDigits;
  normal += 'e';
  normal += std::to_string(exponent);
  double v = 0;
  const auto res = std::from_chars(normal.data(), normal.data() + normal.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // Decimal magnitude of the first significant digit decides: too large or too small.
    const std::string all = std::string(intDigits) + std::string(fracDigits);
    const std::size_t first = all.find_first_not_of('0');
    const long magnitude = exponent + static_cast<long>(intDigits.size()) - static_cast<long>(first);
    if (magnitude > 0) return TRealConversion::rcOverflow;
    v = negative ? -0.0 : 0.0;
  } else if (res.ec != std::errc() || res.ptr != normal.data() + normal.size()) {
    return TRealConversion::rcBad;
  }
  value = v;
  return TRealConversion::rcOk;
}
