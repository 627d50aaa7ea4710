#include <gtest/gtest.h>

#include "Program.h"

namespace {

TInstruction Make(TOpcode op, std::int32_t value = 0) {
  TInstruction i;
  i.Opcode = op;
  i.IntValue = value;
  return i;
}

TEST(Opcodes, TableMatchesMnemonics) {
  struct Case { TOpcode op; const char *name; TOperandKind kind; };
  const Case cases[] = {
      {ocIllegal, "???", okNone},     {ocInit, "Init", okNone},        {ocIncSP, "IncSP", okInt},
      {ocPushReal, "PushReal", okReal}, {ocPushBool, "PushBool", okBool}, {ocPushStr, "PushStr", okStr},
      {ocEQBool, "EQ Bool", okNone},  {ocEQ, "EQ", okInt},             {ocNE, "NE", okInt},
      {ocModInt, "Mod Int", okNone},  {ocNotInt, "Not Int", okNone},   {ocReadLnReal, "ReadLn Real", okNone},
      {ocRandom, "Random", okInt},    {ocOdd, "Odd", okInt},
  };
  for (const auto &c : cases) {
    EXPECT_STREQ(OpcodeNames[c.op], c.name);
    EXPECT_EQ(OpcodeOperands[c.op], c.kind) << c.name;
  }
}

TEST(ProgramStore, GetInstructionOutOfRangeKeepsOperand) {
  TUVCProgram p;
  p.AddInstruction(Make(ocPushInt, 5));
  for (std::int32_t index : {-1, 1, 1000}) {
    TInstruction out = Make(ocPushInt, 77);
    out.Line = 9;
    p.GetInstruction(index, out);
    EXPECT_EQ(out.Opcode, ocIllegal);
    EXPECT_EQ(out.Line, 0);
    EXPECT_EQ(out.IntValue, 77);
  }
  TInstruction out;
  p.GetInstruction(0, out);
  EXPECT_EQ(out.Opcode, ocPushInt);
  EXPECT_EQ(out.IntValue, 5);
}

TEST(ProgramStore, SetInstructionOnlyInRange) {
  TUVCProgram p;
  p.AddInstruction(Make(ocInit));
  p.SetInstruction(1, Make(ocRet));
  p.SetInstruction(-1, Make(ocRet));
  EXPECT_EQ(p.GetCount(), 1);
  p.SetInstruction(0, Make(ocHalt));
  TInstruction out;
  p.GetInstruction(0, out);
  EXPECT_EQ(out.Opcode, ocHalt);
}

TEST(ProgramStore, CapacityGrowsBy500AndClearResets) {
  TUVCProgram p;
  EXPECT_EQ(p.GetCapacity(), 1000);
  for (int i = 0; i < 1000; ++i) p.AddInstruction(Make(ocPushInt, i));
  EXPECT_EQ(p.GetCapacity(), 1000);
  p.AddInstruction(Make(ocRet));
  EXPECT_EQ(p.GetCapacity(), 1500);
  EXPECT_EQ(p.GetCount(), 1001);
  TInstruction out;
  p.GetInstruction(999, out);
  EXPECT_EQ(out.IntValue, 999);
  p.SetCount(10);
  EXPECT_EQ(p.GetCapacity(), 1500);
  p.Clear();
  EXPECT_EQ(p.GetCapacity(), 1000);
  EXPECT_EQ(p.GetCount(), 0);
}

TEST(ProgramStore, SetCountRules) {
  struct Case { std::int32_t n; std::int32_t count; bool namesKept; };
  const Case cases[] = {{0, 0, false}, {-3, 0, false}, {2, 2, true}, {3, 3, true}, {7, 3, true}};
  for (const auto &c : cases) {
    TUVCProgram p;
    p.SetProgramName("demo");
    p.SetSourceFileName("demo.pas");
    for (int i = 0; i < 3; ++i) p.AddInstruction(Make(ocInit));
    p.SetCount(c.n);
    EXPECT_EQ(p.GetCount(), c.count) << c.n;
    EXPECT_EQ(p.GetProgramName(), c.namesKept ? "demo" : "") << c.n;
    EXPECT_EQ(p.GetSourceFileName(), c.namesKept ? "demo.pas" : "") << c.n;
  }
}

TEST(ProgramStore, ShortStringKeepsAtMost255Characters) {
  TInstruction i;
  i.StrValue.Assign(std::string(300, 'x'));
  EXPECT_EQ(i.StrValue.Len, 255);
  i.StrValue.Assign("It's");
  EXPECT_EQ(i.StrValue.Str(), "It's");
}

}  // namespace
