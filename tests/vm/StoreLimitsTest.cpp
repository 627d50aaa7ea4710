// Pushes, pops, block moves and frames at the edges of the store.
#include "VmTestUtil.h"

namespace {

using namespace vmtest;

struct TLimitCase {
  const char *name;
  std::int32_t sp;       // SP before the instruction
  TAsm tail;             // the instruction(s) under test
  const char *error;     // "" for success
  std::int32_t spAfter;  // SP afterwards (also after an error)
};

TAsm Ops(TOpcode op, std::int32_t n = 0) { return TAsm().Op(op, n); }

TEST(StoreLimits, PushesAndMovesAtTheTop) {
  const TLimitCase cases[] = {
      {"int push fills 64000", 63996, Ops(ocPushInt, 7), "", 64000},
      {"int push one too far", 63997, Ops(ocPushInt, 7), "Store overflow", 63997},
      {"real push fills 64000", 63992, TAsm().Real(1.5), "", 64000},
      {"real push one too far", 63993, TAsm().Real(1.5), "Store overflow", 63993},
      {"bool push fills 64000", 63999, TAsm().Bool(true), "", 64000},
      {"bool push at 64000", 64000, TAsm().Bool(true), "Store overflow", 64000},
      {"string push fills 64000", 63744, TAsm().Str("x"), "", 64000},
      {"string push one too far", 63745, TAsm().Str("x"), "Store overflow", 63745},
      {"Dup whose copy would end at 64000", 63996, Ops(ocDup, 4), "Store over/underflow", 63996},
      {"Dup ending at 63999", 63995, Ops(ocDup, 4), "", 63999},
      {"Swap needs scratch above SP", 63996, Ops(ocSwap, 4), "Store over/underflow", 63996},
      {"Swap with room", 63995, Ops(ocSwap, 4), "", 63995},
      {"IncSP to 64000", 11, Ops(ocIncSP, 63989), "", 64000},
      {"IncSP beyond 64000", 11, Ops(ocIncSP, 63990), "Store overflow", 11},
      {"IncSP down to -1", 11, Ops(ocIncSP, -12), "", -1},
      {"IncSP below the store", 11, Ops(ocIncSP, -13), "Store underflow", 11},
      {"IncSP huge", 11, Ops(ocIncSP, 2147483647), "Store overflow", 11},
      {"PushMP at the top", 63997, Ops(ocPushMP), "Store overflow", 63997},
      {"IntToReal without room pops first", 63999, Ops(ocIntToReal), "Store overflow", 63995},
      {"IntToStr without room", 63900, Ops(ocIntToStr), "Store overflow", 63896},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    TAsm a;
    a.StackAt(c.sp);
    for (std::int32_t i = 0; i < c.tail.Count(); ++i) {
      TInstruction ins;
      c.tail.Prog->GetInstruction(i, ins);
      a.Prog->AddInstruction(ins);
    }
    a.Op(ocHalt);
    const TOutcome o = RunBoth(a.Prog);
    EXPECT_EQ(o.Error, c.error);
    EXPECT_EQ(o.SP, c.spAfter);
    EXPECT_EQ(o.PC, *c.error ? 2 : a.Count());
  }
}

TEST(StoreLimits, PopsNeedEnoughBytes) {
  struct Case {
    std::int32_t sp;
    int kind;  // 0 int, 1 real, 2 bool, 3 string
    bool ok;
    std::int32_t spAfter;
  };
  const Case cases[] = {{2, 0, false, 2},   {3, 0, true, -1},    {6, 1, false, 6},
                        {7, 1, true, -1},   {-1, 2, false, -1},  {0, 2, true, -1},
                        {254, 3, false, 254}, {255, 3, true, -1}};
  for (const auto &c : cases) {
    TUVCInterpreter vm;
    vm.SetRegisters(0, 0, c.sp);
    auto pop = [&] {
      switch (c.kind) {
        case 0: vm.PopIntValue(); break;
        case 1: vm.PopRealValue(); break;
        case 2: vm.PopBoolValue(); break;
        default: vm.PopStrValue(); break;
      }
    };
    if (c.ok) {
      EXPECT_NO_THROW(pop()) << c.sp;
    } else {
      try {
        pop();
        ADD_FAILURE() << "no error at SP " << c.sp;
      } catch (const TStoreOverflow &e) {
        EXPECT_STREQ(e.what(), "Store underflow");
      }
    }
    EXPECT_EQ(vm.GetSP(), c.spAfter) << c.sp;
  }
}

TEST(StoreLimits, PushPopRoundTrip) {
  TUVCInterpreter vm;
  vm.SetRegisters(0, 0, -1);
  vm.PushIntValue(-123456);
  vm.PushRealValue(2.25);
  vm.PushBoolValue(true);
  vm.PushStrValue(std::string(300, 'q'));
  EXPECT_EQ(vm.GetSP(), 4 + 8 + 1 + 256 - 1);
  EXPECT_EQ(vm.PopStrValue(), std::string(255, 'q'));
  EXPECT_TRUE(vm.PopBoolValue());
  EXPECT_EQ(vm.PopRealValue(), 2.25);
  EXPECT_EQ(vm.PopIntValue(), -123456);
  EXPECT_EQ(vm.GetSP(), -1);
  // A pushed boolean is 0xFF; any non-zero byte pops as true.
  vm.PushBoolValue(true);
  EXPECT_EQ(vm.GetStore()[0], 0xFF);
  vm.StoreData()[0] = 2;
  EXPECT_TRUE(vm.PopBoolValue());
}

TEST(StoreLimits, MoveBytesBoundaries) {
  struct Case {
    std::int32_t s, d, n;
    bool ok;
  };
  const Case cases[] = {{0, 100, 10, true},       {-1, 100, 1, false},       {100, -1, 1, false},
                        {63990, 0, 10, true},     {63991, 0, 10, false},     {0, 63990, 10, true},
                        {0, 63991, 10, false},    {5, 5, 0, true},           {0, 0, 64000, true},
                        {0, 0, 64001, false},     {0, 10, -1, false},        {2147483647, 0, 1, false},
                        {10, 10, 2147483647, false}};
  for (const auto &c : cases) {
    TUVCInterpreter vm;
    if (c.ok) {
      EXPECT_NO_THROW(vm.MoveBytes(c.s, c.d, c.n)) << c.s << " " << c.d << " " << c.n;
    } else {
      try {
        vm.MoveBytes(c.s, c.d, c.n);
        ADD_FAILURE() << "no error for " << c.s << " " << c.d << " " << c.n;
      } catch (const TStoreOverflow &e) {
        EXPECT_STREQ(e.what(), "Store over/underflow");
      }
    }
  }
}

TEST(StoreLimits, OverlappingMoveUpwardRepeatsThePattern) {
  TUVCInterpreter vm;
  std::uint8_t *s = vm.StoreData();
  s[100] = 1;
  s[101] = 2;
  vm.MoveBytes(100, 102, 6);
  const std::uint8_t expected[] = {1, 2, 1, 2, 1, 2, 1, 2};
  EXPECT_EQ(std::memcmp(s + 100, expected, 8), 0);
  vm.MoveBytes(102, 100, 4);  // downward overlap: a plain copy
  EXPECT_EQ(std::memcmp(s + 100, expected, 8), 0);
  // The sizes moved as one value, every overlap: byte i of the copy is byte i mod k.
  for (const std::int64_t n : {4, 8})
    for (std::int64_t k = 1; k < n; ++k) {
      for (int i = 0; i < 16; ++i) s[200 + i] = static_cast<std::uint8_t>(i + 1);
      vm.MoveBytes(200, 200 + k, n);
      for (std::int64_t i = 0; i < n; ++i) EXPECT_EQ(s[200 + k + i], (i % k) + 1) << n << " " << k << " " << i;
      EXPECT_EQ(s[200 + k + n], k + n + 1) << n << " " << k;
    }
}

// Accesses a hand-made program could aim outside the store: each one is refused.
TEST(StoreLimits, UncheckedAccessesStayInside) {
  struct Case {
    const char *name;
    TAsm prog;
    const char *error;
    std::int32_t pc, sp, mp;
  };
  const Case cases[] = {
      {"Ret with MP below the store", TAsm().Op(ocInit).Op(ocSetMP, 20).Op(ocRet), "Store underflow", 2, 11, -9},
      {"Ret with MP near the top", TAsm().Op(ocInit).Op(ocSetMP, -63980).Op(ocRet), "Store overflow", 2, 11, 63991},
      {"SetMP wraps without harm", TAsm().Op(ocInit).Op(ocSetMP, -2147483647 - 1).Op(ocPushMP).Op(ocHalt), "", 4, 15, -2147483637},
      {"Sto with its address below the store", TAsm().Op(ocInit).Op(ocSto, 12), "Store underflow", 1, 11, 0},
      {"Sto to an address outside", TAsm().Op(ocInit).Op(ocPushInt, 63998).Op(ocPushInt, 1).Op(ocSto, 4),
       "Store over/underflow", 3, 19, 0},
      {"Sto to a negative address", TAsm().Op(ocInit).Op(ocPushInt, -2).Op(ocPushInt, 1).Op(ocSto, 4),
       "Store over/underflow", 3, 19, 0},
      {"Sto with a negative count", TAsm().Op(ocInit).Op(ocSto, -100), "Store over/underflow", 1, 11, 0},
      {"EQ reading below the store", TAsm().Op(ocInit).Op(ocEQ, 8), "Store underflow", 1, 11, 0},
      {"NE with a negative size", TAsm().Op(ocInit).Op(ocNE, -4), "Store over/underflow", 1, 11, 0},
      {"Deref of an address outside", TAsm().Op(ocInit).Op(ocPushInt, 63990).Op(ocDeref, 16),
       "Store over/underflow", 2, 11, 0},
      {"Deref of a negative address", TAsm().Op(ocInit).Op(ocPushInt, -1).Op(ocDeref, 4), "Store over/underflow",
       2, 11, 0},
      {"Dup with a negative size", TAsm().Op(ocInit).Op(ocDup, -8), "Store over/underflow", 1, 11, 0},
      {"Dup larger than the stack", TAsm().Op(ocInit).Op(ocDup, 13), "Store over/underflow", 1, 11, 0},
      {"Swap larger than the stack", TAsm().Op(ocInit).Op(ocSwap, 8), "Store over/underflow", 1, 11, 0},
      {"pop from an empty stack", TAsm().Op(ocInit).Op(ocIncSP, -12).Op(ocNegInt), "Store underflow", 2, -1, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const TOutcome o = RunBoth(c.prog.Prog);
    EXPECT_EQ(o.Error, c.error);
    EXPECT_EQ(o.PC, c.pc);
    EXPECT_EQ(o.SP, c.sp);
    EXPECT_EQ(o.MP, c.mp);
  }
}

TEST(StoreLimits, ReadLnLooksAtTheTopOnlyInsideTheStore) {
  const TOutcome o = RunBoth(TAsm().Op(ocInit).Op(ocIncSP, -12).Op(ocReadLn).Op(ocHalt).Prog, "abc\r");
  EXPECT_EQ(o.Error, "Store underflow");
  EXPECT_EQ(o.PC, 2);
  EXPECT_EQ(o.SP, -1);
}

}  // namespace
