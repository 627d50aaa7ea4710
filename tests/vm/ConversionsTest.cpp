// Number-to-text and text-to-number conversions.
#include <gtest/gtest.h>

#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "FloatToStr.h"
#include "NumberSyntax.h"

namespace {

TEST(FloatToStr, GeneralFormatWith15Digits) {
  struct Case {
    double value;
    const char *text;
  };
  const Case cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {0.5, "0.5"},
      {100, "100"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123456789012345.0, "123456789012345"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E15"},
      {1234567890123456.0, "1.23456789012346E15"},
      {1e-4, "0.0001"},
      {1e-5, "1E-5"},
      {-2.5e-10, "-2.5E-10"},
      {0.1 + 0.2, "0.3"},
      {0.1, "0.1"},
      {1e20, "1E20"},
      {-1.5, "-1.5"},
      {3.14159265358979, "3.14159265358979"},
      {0.00123, "0.00123"},
      {12.5e3, "12500"},
      {1.7976931348623157e308, "1.79769313486232E308"},
      {4.9406564584124654e-324, "4.94065645841247E-324"},
      {9.9999999999999999e14, "1E15"},
      {0.00099999999999999999, "0.001"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto &c : cases) EXPECT_EQ(FloatToStr(c.value), c.text) << c.text;
}

// A locale whose decimal separator is ",": de_DE or fr_FR where installed, else one made here
// with localedef in `folder` (LOCPATH points the C library at it); "" when neither works.
std::string DecimalCommaLocale(const std::filesystem::path &folder) {
  for (const char *name : {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8"})
    if (std::setlocale(LC_ALL, name)) return name;
  std::filesystem::create_directories(folder);
  const std::filesystem::path source = folder / "comma.src";
  std::ofstream(source) << "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\ngrouping 3;3\n"
                           "END LC_NUMERIC\n";
  // Its status is 1 for the categories left undefined; setlocale tells whether it worked.
  const std::string command = "localedef -c -i '" + source.string() + "' -f UTF-8 '" +
                              (folder / "comma").string() + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) == -1) return "";
  setenv("LOCPATH", folder.c_str(), 1);
  return std::setlocale(LC_ALL, "comma") ? "comma" : "";
}

TEST(FloatToStr, IndependentOfTheLocale) {
  const char *old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  const std::filesystem::path folder =
      std::filesystem::path(::testing::TempDir()) / ("ulvan_locale_" + std::to_string(getpid()));
  const std::string comma = DecimalCommaLocale(folder);
  if (comma.empty()) GTEST_SKIP() << "no locale with a decimal comma (localedef needs the package locales)";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",") << comma;
  EXPECT_EQ(FloatToStr(1.5), "1.5");
  EXPECT_EQ(FloatToStr(-2.25e-7), "-2.25E-7");
  double v = 0;
  EXPECT_EQ(TryStrToReal("2.5", v), TRealConversion::rcOk);
  EXPECT_EQ(v, 2.5);
  EXPECT_NE(TryStrToReal("2,5", v), TRealConversion::rcOk);
  std::setlocale(LC_ALL, saved.c_str());
  std::filesystem::remove_all(folder);
}

TEST(IntToStr, DecimalText) {
  EXPECT_EQ(IntToStr(std::int32_t{-2147483647 - 1}), "-2147483648");
  EXPECT_EQ(IntToStr(std::int32_t{0}), "0");
  EXPECT_EQ(IntToStr(std::int64_t{1} << 40), "1099511627776");
}

TEST(IntegerSyntax, AcceptedAndRejectedLines) {
  struct Case {
    const char *text;
    bool ok;
    std::int32_t value;
  };
  const Case cases[] = {
      {"42", true, 42},         {" 42", true, 42},          {"   -17", true, -17},
      {"+5", true, 5},          {"007", true, 7},           {"-2147483648", true, -2147483647 - 1},
      {"2147483647", true, 2147483647},                     {"$10", true, 16},
      {"x1F", true, 31},        {"X1f", true, 31},          {"0x10", true, 16},
      {"0XFF", true, 255},      {"$FFFFFFFF", true, -1},    {"$80000000", true, -2147483647 - 1},
      {"$000000001", true, 1},  {" $7fffffff", true, 2147483647},
      {"42 ", false, 0},        {"4 2", false, 0},          {"", false, 0},
      {"   ", false, 0},        {"-", false, 0},            {"+", false, 0},
      {"2147483648", false, 0}, {"-2147483649", false, 0},  {"99999999999999999999", false, 0},
      {"-0x10", false, 0},      {"-$10", false, 0},         {"+$10", false, 0},
      {"$", false, 0},          {"0x", false, 0},           {"$100000000", false, 0},
      {"$1G", false, 0},        {"\t42", false, 0},         {"1.0", false, 0},
      {"12a", false, 0},        {"--1", false, 0},          {"0x 1", false, 0},
  };
  for (const auto &c : cases) {
    std::int32_t v = 12345;
    EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << "'" << c.text << "'";
    EXPECT_EQ(v, c.ok ? c.value : 12345) << "'" << c.text << "'";
  }
}

TEST(RealSyntax, AcceptedAndRejectedLines) {
  using R = TRealConversion;
  struct Case {
    const char *text;
    R result;
    double value;
  };
  const Case cases[] = {
      {"1.5", R::rcOk, 1.5},      {"-.5", R::rcOk, -0.5},      {"1e3", R::rcOk, 1000},
      {"1E", R::rcOk, 1},         {".", R::rcOk, 0},           {" 2.5  ", R::rcOk, 2.5},
      {"+3", R::rcOk, 3},         {"5.", R::rcOk, 5},          {"1e-2", R::rcOk, 0.01},
      {"1E+2", R::rcOk, 100},     {"1e+", R::rcOk, 1},         {"-.", R::rcOk, 0},
      {"0.1", R::rcOk, 0.1},      {"1e-400", R::rcOk, 0},      {"000123.4500", R::rcOk, 123.45},
      {"1e400", R::rcOverflow, 0}, {"-1.8e308", R::rcOverflow, 0},
      {"1e99999999999999999999", R::rcOverflow, 0},
      {"1,5", R::rcBad, 0},       {"", R::rcBad, 0},           {" ", R::rcBad, 0},
      {"-", R::rcBad, 0},         {"e5", R::rcBad, 0},         {"1.2.3", R::rcBad, 0},
      {"1e5x", R::rcBad, 0},      {"nan", R::rcBad, 0},        {"inf", R::rcBad, 0},
      {"1 e5", R::rcBad, 0},      {"$10", R::rcBad, 0},        {"0x1p3", R::rcBad, 0},
      {"1e--2", R::rcBad, 0},
  };
  for (const auto &c : cases) {
    double v = 777;
    EXPECT_EQ(TryStrToReal(c.text, v), c.result) << "'" << c.text << "'";
    EXPECT_EQ(v, c.result == R::rcOk ? c.value : 777) << "'" << c.text << "'";
  }
  double tiny = 1;
  EXPECT_EQ(TryStrToReal("-1e-400", tiny), R::rcOk);
  EXPECT_TRUE(tiny == 0 && std::signbit(tiny));
}

}  // namespace
