// The operators of the machine, family by family, each case run both with Run and by steps.
#include <cmath>
#include <limits>
#include <string>

using namespace std::string_literals;

#include "Random.h"
#include "VmTestUtil.h"

namespace {

using namespace vmtest;

constexpr std::int32_t MinInt = -2147483647 - 1;

TOutcome Binary(TAsm operands, TOpcode op) { return RunBoth(operands.Op(op).Op(ocHalt).Prog); }

TEST(IntegerOps, ArithmeticWrapsAndDivides) {
  struct Case {
    std::int32_t l;
    TOpcode op;
    std::int32_t r;
    std::int32_t expected;
  };
  const Case cases[] = {
      {2147483647, ocAddInt, 1, MinInt},  {MinInt, ocSubInt, 1, 2147483647}, {65536, ocMulInt, 65536, 0},
      {-3, ocMulInt, 7, -21},             {7, ocDivInt, -2, -3},             {-7, ocDivInt, 2, -3},
      {-7, ocModInt, 2, -1},              {7, ocModInt, -2, 1},              {MinInt, ocDivInt, -1, MinInt},
      {MinInt, ocModInt, -1, 0},          {1, ocShlInt, 33, 2},              {-1, ocShrInt, 28, 15},
      {1, ocShlInt, 31, MinInt},          {5, ocShrInt, -31, 2},             {12, ocAndInt, 10, 8},
      {12, ocOrInt, 10, 14},              {12, ocXorInt, 10, 6},
  };
  for (const auto &c : cases) {
    const TOutcome o = Binary(TAsm().Op(ocInit).Op(ocPushInt, c.l).Op(ocPushInt, c.r), c.op);
    EXPECT_EQ(o.Error, "") << c.l << " " << OpcodeNames[c.op] << " " << c.r;
    EXPECT_EQ(o.SP, 15);
    EXPECT_EQ(TopInt(o), c.expected) << c.l << " " << OpcodeNames[c.op] << " " << c.r;
  }
}

TEST(IntegerOps, UnaryAndIncrement) {
  struct Case {
    TAsm prog;
    std::int32_t expected;
  };
  const Case cases[] = {
      {TAsm().Op(ocPushInt, MinInt).Op(ocNegInt), MinInt},
      {TAsm().Op(ocPushInt, 5).Op(ocNegInt), -5},
      {TAsm().Op(ocPushInt, 0).Op(ocNotInt), -1},
      {TAsm().Op(ocPushInt, 2147483647).Op(ocIncInt, 1), MinInt},
      {TAsm().Op(ocPushInt, 10).Op(ocIncInt, -11), -1},
      {TAsm().Real(2.5).Op(ocRound), 2},
  };
  for (const auto &c : cases) {
    TAsm a;
    a.Op(ocInit);
    for (std::int32_t i = 0; i < c.prog.Count(); ++i) {
      TInstruction ins;
      c.prog.Prog->GetInstruction(i, ins);
      a.Prog->AddInstruction(ins);
    }
    const TOutcome o = RunBoth(a.Op(ocHalt).Prog);
    EXPECT_EQ(TopInt(o), c.expected);
  }
}

TEST(IntegerOps, DivisionByZeroAfterBothPops) {
  for (TOpcode op : {ocDivInt, ocModInt}) {
    const TOutcome o = Binary(TAsm().Op(ocInit).Op(ocPushInt, 7).Op(ocPushInt, 0), op);
    EXPECT_EQ(o.Error, "Division by zero");
    EXPECT_EQ(o.PC, 3);
    EXPECT_EQ(o.SP, 11);
  }
  // A missing left operand: the right one is gone, then the underflow.
  const TOutcome o = Binary(TAsm().Op(ocInit).Op(ocIncSP, -9).Op(ocPushInt, 1), ocAddInt);
  EXPECT_EQ(o.Error, "Store underflow");
  EXPECT_EQ(o.SP, 2);
}

TEST(Comparisons, IntegersRealsBooleans) {
  struct Case {
    TOpcode op;
    double l, r;
    bool expected;
  };
  const Case cases[] = {
      {ocLTInt, -1, 0, true},  {ocLEInt, 3, 3, true},   {ocGTInt, 3, 3, false}, {ocGEInt, -5, -4, false},
      {ocEQInt, 7, 7, true},   {ocNEInt, 7, 7, false},  {ocLTReal, 0.1, 0.2, true},
      {ocLEReal, 0.2, 0.1, false}, {ocGTReal, 1e300, -1e300, true}, {ocGEReal, 2, 2, true},
      {ocEQReal, 0.5, 0.5, true}, {ocNEReal, 0.5, 0.25, true},
  };
  for (const auto &c : cases) {
    TAsm a;
    a.Op(ocInit);
    if (c.op <= ocNEInt)
      a.Op(ocPushInt, static_cast<std::int32_t>(c.l)).Op(ocPushInt, static_cast<std::int32_t>(c.r));
    else
      a.Real(c.l).Real(c.r);
    const TOutcome o = Binary(a, c.op);
    EXPECT_EQ(o.SP, 12);
    EXPECT_EQ(TopBool(o), c.expected) << OpcodeNames[c.op] << " " << c.l << " " << c.r;
    EXPECT_EQ(o.Store[12], c.expected ? 0xFF : 0x00);
  }
  struct BoolCase {
    TOpcode op;
    bool l, r, expected;
  };
  const BoolCase bools[] = {{ocEQBool, true, true, true},  {ocNEBool, true, false, true},
                            {ocAndBool, true, false, false}, {ocOrBool, false, true, true},
                            {ocXorBool, true, true, false},  {ocXorBool, true, false, true}};
  for (const auto &c : bools) {
    const TOutcome o = Binary(TAsm().Op(ocInit).Bool(c.l).Bool(c.r), c.op);
    EXPECT_EQ(o.Store[12], c.expected ? 0xFF : 0x00) << OpcodeNames[c.op];
  }
  EXPECT_FALSE(TopBool(RunBoth(TAsm().Op(ocInit).Bool(true).Op(ocNotBool).Op(ocHalt).Prog)));
}

TEST(Comparisons, BooleansCompareByTruth) {
  // 1 and 0xFF are both true: EQ Bool says equal, the raw EQ 1 says different.
  TAsm a;
  a.Op(ocInit).Op(ocPushInt, 1).Op(ocIncSP, -3).Bool(true).Op(ocEQBool).Op(ocHalt);
  EXPECT_TRUE(TopBool(RunBoth(a.Prog)));
  TAsm b;
  b.Op(ocInit).Op(ocPushInt, 1).Op(ocIncSP, -3).Bool(true).Op(ocEQ, 1).Op(ocHalt);
  EXPECT_FALSE(TopBool(RunBoth(b.Prog)));
}

TEST(Comparisons, StringsByUnsignedCodes) {
  struct Case {
    TOpcode op;
    std::string l, r;
    bool expected;
  };
  const Case cases[] = {
      {ocLTStr, "ab", "abc", true},   {ocLTStr, "B", "a", true},     {ocEQStr, "", "", true},
      {ocGTStr, "\xe4", "z", true},   {ocLEStr, "abc", "abc", true}, {ocGEStr, "abc", "abd", false},
      {ocNEStr, "abc", "abd", true},  {ocEQStr, "a", "a\0"s, false}, {ocLTStr, "", "\x01", true},
  };
  for (const auto &c : cases) {
    const TOutcome o = Binary(TAsm().Op(ocInit).Str(c.l).Str(c.r), c.op);
    EXPECT_EQ(o.SP, 12);
    EXPECT_EQ(TopBool(o), c.expected) << OpcodeNames[c.op] << " '" << c.l << "' '" << c.r << "'";
  }
}

TEST(Comparisons, RawBlocksSeeBytesAfterTheText) {
  // Two slots with the text "hi"; the first one had "hiXY" before, so its bytes differ.
  TAsm a;
  a.Op(ocInit).Str("hiXY").Op(ocIncSP, -256).Str("hi").Str("hi").Op(ocEQ, 256).Op(ocHalt);
  EXPECT_FALSE(TopBool(RunBoth(a.Prog)));
  TAsm b;
  b.Op(ocInit).Str("hiXY").Op(ocIncSP, -256).Str("hi").Str("hi").Op(ocEQStr).Op(ocHalt);
  EXPECT_TRUE(TopBool(RunBoth(b.Prog)));
  TAsm c;
  c.Op(ocInit).Op(ocPushInt, 5).Op(ocPushInt, 5).Op(ocNE, 4).Op(ocHalt);
  const TOutcome o = RunBoth(c.Prog);
  EXPECT_FALSE(TopBool(o));
  EXPECT_EQ(o.SP, 12);
}

TEST(RealOps, ArithmeticAndFaults) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double l;
    TOpcode op;
    double r;
    const char *error;
    double expected;
  };
  const Case cases[] = {
      {1.5, ocAddReal, 2.25, "", 3.75},
      {1, ocSubReal, 3, "", -2},
      {1e-300, ocMulReal, 1e-300, "", 0},
      {1, ocDivReal, 4, "", 0.25},
      {1, ocDivReal, 0, "Floating point division by zero", 0},
      {-1, ocDivReal, 0, "Floating point division by zero", 0},
      {0, ocDivReal, 0, "Invalid floating point operation", 0},
      {1e300, ocMulReal, 1e300, "Floating point overflow", 0},
      {1.7e308, ocAddReal, 1.7e308, "Floating point overflow", 0},
      {1e300, ocDivReal, 1e-300, "Floating point overflow", 0},
      {inf, ocSubReal, inf, "Invalid floating point operation", 0},
      {inf, ocMulReal, 0, "Invalid floating point operation", 0},
      {inf, ocAddReal, 1, "", inf},
      {nan, ocAddReal, 1, "", nan},
  };
  for (const auto &c : cases) {
    const TOutcome o = Binary(TAsm().Op(ocInit).Real(c.l).Real(c.r), c.op);
    EXPECT_EQ(o.Error, c.error) << c.l << " " << OpcodeNames[c.op] << " " << c.r;
    if (*c.error) {
      EXPECT_EQ(o.SP, 11);
      EXPECT_EQ(o.PC, 3);
    } else if (std::isnan(c.expected)) {
      EXPECT_TRUE(std::isnan(TopReal(o)));
    } else {
      EXPECT_EQ(TopReal(o), c.expected);
    }
  }
}

TEST(RealOps, FunctionsAndConversions) {
  const double big = 9223372036854775808.0;  // 2^63
  struct Case {
    TOpcode op;
    double arg;
    double expected;
  };
  const Case cases[] = {
      {ocSin, 0, 0},         {ocCos, 0, 1},          {ocSin, big, 0},        {ocCos, -big, 0},
      {ocCos, 1e300, 0},     {ocSin, big / 2, std::sin(big / 2)},           {ocArcTan, 1, std::atan(1.0)},
      {ocNegReal, 2.5, -2.5},
  };
  for (const auto &c : cases) {
    const TOutcome o = RunBoth(TAsm().Op(ocInit).Real(c.arg).Op(c.op).Op(ocHalt).Prog);
    EXPECT_EQ(TopReal(o), c.expected) << OpcodeNames[c.op] << " " << c.arg;
  }
  const TOutcome conv = RunBoth(TAsm().Op(ocInit).Op(ocPushInt, -3).Op(ocIntToReal).Op(ocHalt).Prog);
  EXPECT_EQ(TopReal(conv), -3.0);
  // SwapIntReal: the integer under a real comes on top.
  const TOutcome sw = RunBoth(TAsm().Op(ocInit).Op(ocPushInt, 42).Real(0.5).Op(ocSwapIntReal).Op(ocHalt).Prog);
  EXPECT_EQ(TopInt(sw), 42);
  EXPECT_EQ(RealAt(sw, 12), 0.5);
  EXPECT_EQ(sw.SP, 23);
}

TEST(RealOps, RoundHalfToEvenAsLow32Bits) {
  struct Case {
    double arg;
    const char *error;
    std::int32_t expected;
  };
  const Case cases[] = {
      {0.5, "", 0},   {1.5, "", 2},    {-0.5, "", 0},   {2.5, "", 2},   {3.5, "", 4},
      {-2.5, "", -2}, {-1.5, "", -2},  {2.4999, "", 2}, {-2.6, "", -3}, {4294967296.0 + 5, "", 5},
      {2147483648.0, "", MinInt},      {9223372036854774784.0, "", -1024},
      {9223372036854775808.0, "Invalid floating point operation", 0},
      {-9223372036854775808.0, "Invalid floating point operation", 0},
      {std::numeric_limits<double>::quiet_NaN(), "Invalid floating point operation", 0},
  };
  for (const auto &c : cases) {
    const TOutcome o = RunBoth(TAsm().Op(ocInit).Real(c.arg).Op(ocRound).Op(ocHalt).Prog);
    EXPECT_EQ(o.Error, c.error) << c.arg;
    if (*c.error) {
      EXPECT_EQ(o.SP, 11);
    } else {
      EXPECT_EQ(TopInt(o), c.expected) << c.arg;
    }
  }
}

TEST(StringOps, ConcatenationAndConversions) {
  const TOutcome cat = RunBoth(TAsm().Op(ocInit).Str("Hello, ").Str("world").Op(ocAddStr).Op(ocHalt).Prog);
  EXPECT_EQ(TopStr(cat), "Hello, world");
  EXPECT_EQ(cat.SP, 11 + 256);
  const TOutcome longCat =
      RunBoth(TAsm().Op(ocInit).Str(std::string(200, 'a')).Str(std::string(100, 'b')).Op(ocAddStr).Op(ocHalt).Prog);
  EXPECT_EQ(TopStr(longCat), std::string(200, 'a') + std::string(55, 'b'));

  struct Case {
    TAsm arg;
    TOpcode op;
    const char *text;
  };
  const Case cases[] = {
      {TAsm().Op(ocPushInt, MinInt), ocIntToStr, "-2147483648"},
      {TAsm().Op(ocPushInt, 0), ocIntToStr, "0"},
      {TAsm().Real(0.1), ocFloatToStr, "0.1"},
      {TAsm().Real(-2.5e-10), ocFloatToStr, "-2.5E-10"},
  };
  for (const auto &c : cases) {
    TAsm a;
    a.Op(ocInit);
    TInstruction ins;
    c.arg.Prog->GetInstruction(0, ins);
    a.Prog->AddInstruction(ins);
    const TOutcome o = RunBoth(a.Op(c.op).Op(ocHalt).Prog);
    EXPECT_EQ(TopStr(o), c.text);
  }
}

TEST(IntegerFunctions, OddAndRandom) {
  struct Case {
    std::int32_t arg;
    bool odd;
  };
  for (const Case &c : {Case{7, true}, Case{-7, true}, Case{0, false}, Case{-2, false}, Case{MinInt, false}}) {
    const TOutcome o = RunBoth(TAsm().Op(ocInit).Op(ocPushInt, c.arg).Op(ocOdd).Op(ocHalt).Prog);
    EXPECT_EQ(o.SP, 12);
    EXPECT_EQ(TopBool(o), c.odd) << c.arg;
  }
  // Random: S := S*134775813+1, result = high half of S*m.
  RandSeed = 12345;
  std::uint32_t s = 12345;
  const std::int32_t ms[] = {100, 1, 0, -1, 1000000};
  for (std::int32_t m : ms) {
    s = s * 134775813u + 1u;
    const auto expected = static_cast<std::uint32_t>((static_cast<std::uint64_t>(s) * static_cast<std::uint32_t>(m)) >> 32);
    const TOutcome o = RunFast(TAsm().Op(ocInit).Op(ocPushInt, m).Op(ocRandom).Op(ocHalt).Prog);
    EXPECT_EQ(static_cast<std::uint32_t>(TopInt(o)), expected) << m;
    if (m == 1 || m == 0) {
      EXPECT_EQ(TopInt(o), 0);
    }
  }
  EXPECT_EQ(RandSeed, s);
  // The same seed gives the same sequence; the known first values for seed 0.
  RandSeed = 0;
  EXPECT_EQ(NextRandom(0xFFFFFFFFu), 0u);  // S = 1
  EXPECT_EQ(RandSeed, 1u);
  EXPECT_EQ(NextRandom(100), static_cast<std::uint32_t>((134775814ull * 100) >> 32));
}

TEST(Random, SeedFromClockIsMillisecondsOfTheDay) {
  EXPECT_LT(SeedFromClock(), 86400000u);
}

}  // namespace
