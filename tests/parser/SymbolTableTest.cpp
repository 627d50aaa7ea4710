// Symbol table: scopes and shadowing, refusal rules, addresses, sizes, type identity,
// labels and the invariants.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "UAssert.h"
#include "USymbolTable.h"

namespace {

class SymbolTableTest : public testing::Test {
 protected:
  void SetUp() override {
    Table.OpenScope();  // predeclared identifiers
    Integer = Table.NewType(tyInteger, "Integer");
    Real = Table.NewType(tyReal, "Real");
    Boolean = Table.NewType(tyBoolean, "Boolean");
    String = Table.NewType(tyString, "String");
    for (TTypeDescriptor *t : {Integer, Real, Boolean, String}) ASSERT_TRUE(Table.DeclareType(t));
    Table.OpenScope();  // program block
  }

  TProcedureDescriptor *Procedure(const std::string &name, TTypeDescriptor *returnType,
                                  std::initializer_list<TParmDescriptor *> parms) {
    TProcedureDescriptor *p = Table.NewProcedure(name);
    p->ReturnType = returnType;
    TParmDescriptor **tail = &p->Parameters;
    for (TParmDescriptor *parm : parms) {
      *tail = parm;
      tail = &parm->Next;
    }
    return p;
  }

  TTypeDescriptor *Array(std::int32_t low, std::int32_t high, TTypeDescriptor *element) {
    TTypeDescriptor *a = Table.NewType(tyArray);
    a->LowBound = low;
    a->HighBound = high;
    a->ElementType = element;
    return a;
  }

  std::int32_t AddressOf(const std::string &name) {
    TVariableDescriptor v;
    EXPECT_TRUE(Table.FindVariable(name, v)) << name;
    return v.Address;
  }

  TUSymbolTable Table;
  TTypeDescriptor *Integer = nullptr, *Real = nullptr, *Boolean = nullptr, *String = nullptr;
};

TEST_F(SymbolTableTest, InnerDeclarationShadowsUntilItsScopeCloses) {
  ASSERT_TRUE(Table.DeclareVariable("X", Integer));
  Table.OpenScope();
  ASSERT_TRUE(Table.DeclareVariable("x", Real));
  TSymbol s;
  ASSERT_TRUE(Table.FindSymbol("X", s));
  EXPECT_EQ(s.Level, 3);
  EXPECT_EQ(s.Name, "X");
  EXPECT_EQ(s.Data.Variable->VarType, Real);
  Table.CloseScope();
  ASSERT_TRUE(Table.FindSymbol("x", s));
  EXPECT_EQ(s.Level, 2);
  EXPECT_EQ(s.Data.Variable->VarType, Integer);
  Table.CloseScope();
  EXPECT_FALSE(Table.FindSymbol("x", s));
}

TEST_F(SymbolTableTest, RedeclarationInOneScopeIsRefusedForEveryKind) {
  ASSERT_TRUE(Table.DeclareVariable("Name", Integer));
  TValueDescriptor value;
  value.ValueType = Integer;
  value.IsConstant = true;
  EXPECT_FALSE(Table.DeclareVariable("NAME", Real));
  EXPECT_FALSE(Table.DeclareConstant("name", value));
  EXPECT_FALSE(Table.DeclareLabel("nAme"));
  EXPECT_FALSE(Table.DeclareType(Table.NewType(tyCopy, "Name")));
  EXPECT_FALSE(Table.DeclareProcedure(Table.NewProcedure("Name")));
  EXPECT_FALSE(Table.DeclareType(nullptr));
  EXPECT_FALSE(Table.DeclareProcedure(nullptr));
  TVariableDescriptor v;
  ASSERT_TRUE(Table.FindVariable("name", v));
  EXPECT_EQ(v.VarType, Integer);
  EXPECT_EQ(v.Address, 12);
  EXPECT_EQ(Table.GetLocalsSize(), 4);  // the refused declarations took no room
  // The predeclared Integer may be declared again in an inner scope.
  EXPECT_TRUE(Table.DeclareVariable("Integer", Integer));
}

TEST_F(SymbolTableTest, TypedLookupsDoNotLookPastTheVisibleSymbol) {
  Table.OpenScope();
  ASSERT_TRUE(Table.DeclareVariable("Real", Integer));
  TTypeDescriptor *type = Real;
  EXPECT_FALSE(Table.FindType("Real", type));
  EXPECT_EQ(type, nullptr);
  TProcedureDescriptor *proc = nullptr;
  EXPECT_FALSE(Table.FindProcedure("Real", proc));
  TValueDescriptor value;
  EXPECT_FALSE(Table.FindConstant("Real", value));
  Table.CloseScope();
  EXPECT_TRUE(Table.FindType("real", type));
  EXPECT_EQ(type, Real);
}

TEST_F(SymbolTableTest, ProcedureScopeAddresses) {
  // PROCEDURE P(A: Integer; VAR B: Real; C: Real)
  TProcedureDescriptor *p = Procedure("P", nullptr,
                                      {Table.NewParameter("A", Integer, true),
                                       Table.NewParameter("B", Real, false),
                                       Table.NewParameter("C", Real, true)});
  ASSERT_TRUE(Table.DeclareProcedure(p));
  Table.OpenProcedureScope(p);
  EXPECT_EQ(Table.GetScopeDepth(), 3);
  EXPECT_EQ(AddressOf("a"), 12);
  EXPECT_EQ(AddressOf("b"), 16);
  EXPECT_EQ(AddressOf("c"), 20);
  TVariableDescriptor b;
  Table.FindVariable("B", b);
  EXPECT_FALSE(b.ByValue);
  EXPECT_EQ(b.Level, 3);
  EXPECT_EQ(Table.GetLocalsSize(), 0);
  ASSERT_TRUE(Table.DeclareVariable("L", Boolean));
  ASSERT_TRUE(Table.DeclareVariable("M", Integer));
  EXPECT_EQ(AddressOf("L"), 28);
  EXPECT_EQ(AddressOf("M"), 29);
  EXPECT_EQ(Table.GetLocalsSize(), 5);
  // A local may not repeat the procedure's name, in any case.
  EXPECT_FALSE(Table.DeclareVariable("p", Integer));
  Table.CloseScope();
  EXPECT_EQ(Table.GetLocalsSize(), 0);
  Table.CloseScope();
  Table.CloseScope();
  EXPECT_EQ(Table.GetLocalsSize(), -1);
}

TEST_F(SymbolTableTest, FunctionNameAndResultDenoteTheResult) {
  TProcedureDescriptor *f = Procedure("Fn", Real, {Table.NewParameter("N", Integer, true)});
  ASSERT_TRUE(Table.DeclareProcedure(f));
  Table.OpenProcedureScope(f);
  for (const char *name : {"Fn", "FN", "fn", "Result", "RESULT"}) {
    TVariableDescriptor v;
    ASSERT_TRUE(Table.FindVariable(name, v)) << name;
    EXPECT_EQ(v.Address, -8) << name;
    EXPECT_EQ(v.VarType, Real) << name;
    EXPECT_TRUE(v.ByValue) << name;
    EXPECT_EQ(v.Level, 3) << name;
  }
  EXPECT_EQ(AddressOf("N"), 12);
  EXPECT_FALSE(Table.DeclareVariable("fN", Integer));
  EXPECT_FALSE(Table.DeclareVariable("result", Integer));
  // Inside a nested procedure the function's name is the function again.
  TProcedureDescriptor *inner = Procedure("Inner", nullptr, {});
  ASSERT_TRUE(Table.DeclareProcedure(inner));
  Table.OpenProcedureScope(inner);
  TVariableDescriptor v;
  EXPECT_FALSE(Table.FindVariable("Fn", v));
  TProcedureDescriptor *found = nullptr;
  EXPECT_TRUE(Table.FindProcedure("fn", found));
  EXPECT_EQ(found, f);
  // Result of the outer function stays visible as a variable.
  ASSERT_TRUE(Table.FindVariable("Result", v));
  EXPECT_EQ(v.Level, 3);
}

TEST_F(SymbolTableTest, PlainScopesStartAtTwelve) {
  ASSERT_TRUE(Table.DeclareVariable("A", String));
  ASSERT_TRUE(Table.DeclareVariable("B", Integer));
  ASSERT_TRUE(Table.DeclareVariableAt("C", Real, -100, true));
  ASSERT_TRUE(Table.DeclareParameter("D", Real, false));
  EXPECT_EQ(AddressOf("A"), 12);
  EXPECT_EQ(AddressOf("B"), 268);
  EXPECT_EQ(AddressOf("C"), -100);
  EXPECT_EQ(AddressOf("D"), 272);
  EXPECT_EQ(Table.GetLocalsSize(), 264);
}

TEST_F(SymbolTableTest, Sizes) {
  // RECORD A: Integer; B: Real; C: Boolean END
  TTypeDescriptor *rec = Table.NewType(tyRecord);
  TRecordDescriptor *a = Table.NewField("A", Integer);
  TRecordDescriptor *b = Table.NewField("B", Real);
  TRecordDescriptor *c = Table.NewField("C", Boolean);
  rec->Fields = a;
  a->Next = b;
  b->Next = c;
  Table.CalcTypeSize(rec);
  EXPECT_EQ(rec->Size, 13);
  EXPECT_EQ(a->Offset, 0);
  EXPECT_EQ(b->Offset, 4);
  EXPECT_EQ(c->Offset, 12);

  TTypeDescriptor *reals = Array(1, 10, Real);
  Table.CalcTypeSize(reals);
  EXPECT_EQ(reals->Size, 80);

  TTypeDescriptor *matrix = Array(1, 2, Array(1, 3, Real));
  Table.CalcTypeSize(matrix);
  EXPECT_EQ(matrix->Size, 48);
  EXPECT_EQ(matrix->ElementType->Size, 24);

  TTypeDescriptor *backwards = Array(5, 1, Integer);
  Table.CalcTypeSize(backwards);
  EXPECT_EQ(backwards->Size, -1);

  TTypeDescriptor *negative = Array(-3, 3, Boolean);
  Table.CalcTypeSize(negative);
  EXPECT_EQ(negative->Size, 7);

  TTypeDescriptor *copy = Table.NewType(tyCopy, "Vector");
  copy->Base = reals;
  Table.CalcTypeSize(copy);
  EXPECT_EQ(copy->Size, 80);

  TTypeDescriptor *later = Table.NewType(tyUnspecified, "Later");
  Table.CalcTypeSize(later);
  EXPECT_EQ(later->Size, -1);

  // A size already known is kept.
  TTypeDescriptor *known = Array(1, 10, Integer);
  known->Size = 3;
  Table.CalcTypeSize(known);
  EXPECT_EQ(known->Size, 3);
}

TEST_F(SymbolTableTest, HugeSizesStayAtTheLargestValue) {
  TTypeDescriptor *huge = Array(INT32_MIN, INT32_MAX, Real);
  Table.CalcTypeSize(huge);
  EXPECT_EQ(huge->Size, INT32_MAX);
  TTypeDescriptor *rec = Table.NewType(tyRecord);
  rec->Fields = Table.NewField("A", huge);
  rec->Fields->Next = Table.NewField("B", huge);
  rec->Fields->Next->Next = Table.NewField("C", Integer);
  Table.CalcTypeSize(rec);
  EXPECT_EQ(rec->Size, INT32_MAX);
  EXPECT_EQ(rec->Fields->Next->Next->Offset, INT32_MAX);
  ASSERT_TRUE(Table.DeclareVariable("A", huge));
  ASSERT_TRUE(Table.DeclareVariable("B", huge));
  ASSERT_TRUE(Table.DeclareVariable("C", Integer));
  EXPECT_EQ(AddressOf("B"), INT32_MAX);
  EXPECT_EQ(Table.GetLocalsSize(), INT32_MAX);
}

TEST_F(SymbolTableTest, ForwardTargetsThatReachThemselvesHaveNoSize) {
  // TYPE P = ^T; T = RECORD next: T END, with T completed in place.
  TTypeDescriptor *t = Table.NewType(tyUnspecified, "T");
  ASSERT_TRUE(Table.DeclareType(t));
  t->Kind = tyRecord;
  t->Fields = Table.NewField("NEXT", t);
  Table.CalcTypeSize(t);
  EXPECT_EQ(t->Size, -1);
  // A = B; B = A, with B a forward target completed in place.
  TTypeDescriptor *b = Table.NewType(tyUnspecified, "B");
  TTypeDescriptor *a = Table.NewType(tyCopy, "A");
  a->Base = b;
  b->Kind = tyCopy;
  b->Base = a;
  Table.CalcTypeSize(a);
  EXPECT_EQ(a->Size, -1);
  EXPECT_FALSE(TUSymbolTable::SameType(a, Integer));
  // A variable of a type without size takes no room.
  ASSERT_TRUE(Table.DeclareVariable("V", t));
  ASSERT_TRUE(Table.DeclareVariable("W", Integer));
  EXPECT_EQ(AddressOf("W"), 12);
}

TEST_F(SymbolTableTest, SameType) {
  TTypeDescriptor *b = Table.NewType(tyCopy, "B");
  b->Base = Integer;
  TTypeDescriptor *a = Table.NewType(tyCopy, "A");
  a->Base = b;
  EXPECT_TRUE(TUSymbolTable::SameType(a, b));
  EXPECT_TRUE(TUSymbolTable::SameType(a, Integer));
  EXPECT_TRUE(TUSymbolTable::SameType(Integer, a));
  EXPECT_FALSE(TUSymbolTable::SameType(a, Real));
  EXPECT_FALSE(TUSymbolTable::SameType(nullptr, nullptr));
  EXPECT_FALSE(TUSymbolTable::SameType(a, nullptr));
  // Equal-looking types written in two places differ.
  EXPECT_FALSE(TUSymbolTable::SameType(Array(1, 3, Integer), Array(1, 3, Integer)));
}

TEST_F(SymbolTableTest, SameHeading) {
  auto heading = [&](const char *name, TTypeDescriptor *ret, const char *parm, bool byValue,
                     TTypeDescriptor *type) {
    return Procedure(name, ret, {Table.NewParameter("X", Integer, true),
                                 Table.NewParameter(parm, type, byValue)});
  };
  TProcedureDescriptor *p = heading("P", nullptr, "Y", true, Real);
  EXPECT_TRUE(TUSymbolTable::SameHeading(p, heading("p", nullptr, "y", true, Real)));
  EXPECT_FALSE(TUSymbolTable::SameHeading(p, heading("Q", nullptr, "Y", true, Real)));
  EXPECT_FALSE(TUSymbolTable::SameHeading(p, heading("P", Integer, "Y", true, Real)));
  EXPECT_FALSE(TUSymbolTable::SameHeading(p, heading("P", nullptr, "Z", true, Real)));
  EXPECT_FALSE(TUSymbolTable::SameHeading(p, heading("P", nullptr, "Y", false, Real)));
  EXPECT_FALSE(TUSymbolTable::SameHeading(p, heading("P", nullptr, "Y", true, Integer)));
  EXPECT_FALSE(TUSymbolTable::SameHeading(p, Procedure("P", nullptr, {Table.NewParameter("X", Integer, true)})));
  EXPECT_FALSE(TUSymbolTable::SameHeading(p, nullptr));
  EXPECT_TRUE(TUSymbolTable::SameHeading(Procedure("E", Real, {}), Procedure("e", Real, {})));
}

TEST_F(SymbolTableTest, ConstantsAreCopies) {
  TValueDescriptor value;
  value.ValueType = String;
  value.IsConstant = true;
  value.StrValue = "hello";
  ASSERT_TRUE(Table.DeclareConstant("Greeting", value));
  value.StrValue = "changed";
  TValueDescriptor found;
  ASSERT_TRUE(Table.FindConstant("GREETING", found));
  EXPECT_EQ(found.StrValue, "hello");
  EXPECT_EQ(found.ValueType, String);
  EXPECT_TRUE(found.IsConstant);
  found.StrValue = "other";
  ASSERT_TRUE(Table.FindConstant("greeting", found));
  EXPECT_EQ(found.StrValue, "hello");
}

TEST_F(SymbolTableTest, HashCollisionsAreToldApart) {
  EXPECT_EQ(TUSymbolTable::HashName(""), 0);
  EXPECT_EQ(TUSymbolTable::HashName("AB"), TUSymbolTable::HashName("BA"));
  EXPECT_EQ(TUSymbolTable::HashName("AB"), 131);
  // Bytes summing past 997 wrap after each addition.
  EXPECT_EQ(TUSymbolTable::HashName(std::string(10, 'Z')), (10 * 90) % 997);
  EXPECT_EQ(TUSymbolTable::HashName(std::string(12, 'Z')), (12 * 90) % 997);

  ASSERT_TRUE(Table.DeclareVariable("AB", Integer));
  ASSERT_TRUE(Table.DeclareVariable("BA", Real));
  Table.OpenScope();
  ASSERT_TRUE(Table.DeclareVariable("ab", Boolean));  // shadows the first of the chain
  TVariableDescriptor v;
  ASSERT_TRUE(Table.FindVariable("BA", v));
  EXPECT_EQ(v.VarType, Real);
  ASSERT_TRUE(Table.FindVariable("AB", v));
  EXPECT_EQ(v.VarType, Boolean);
  Table.CloseScope();
  ASSERT_TRUE(Table.FindVariable("AB", v));
  EXPECT_EQ(v.VarType, Integer);
  ASSERT_TRUE(Table.FindVariable("BA", v));
  EXPECT_EQ(v.VarType, Real);
}

TEST_F(SymbolTableTest, Labels) {
  EXPECT_EQ(Table.GetLabelAddress(0), -1);  // never handed out
  const std::int32_t first = Table.NewLabel();
  EXPECT_EQ(first, 0);
  EXPECT_EQ(Table.GetLabelAddress(first), -1);
  EXPECT_TRUE(Table.SetLabelAddress(first, 17));
  EXPECT_FALSE(Table.SetLabelAddress(first, 18));
  EXPECT_EQ(Table.GetLabelAddress(first), 18);
  EXPECT_FALSE(Table.SetLabelAddress(1, 5));
  EXPECT_FALSE(Table.SetLabelAddress(-1, 5));
  EXPECT_EQ(Table.GetLabelAddress(1), -1);
  EXPECT_EQ(Table.GetLabelAddress(-7), -1);

  for (int i = 1; i < 1000; ++i) Table.NewLabel();
  EXPECT_EQ(Table.GetLabelCapacity(), 1000);
  const std::int32_t beyond = Table.NewLabel();
  EXPECT_EQ(beyond, 1000);
  EXPECT_EQ(Table.GetLabelCapacity(), 1500);
  EXPECT_TRUE(Table.SetLabelAddress(beyond, 42));
  EXPECT_EQ(Table.GetLabelAddress(beyond), 42);
  for (int i = 0; i < 500; ++i) Table.NewLabel();
  EXPECT_EQ(Table.GetLabelCapacity(), 2000);

  Table.Clear();
  EXPECT_EQ(Table.GetLabelCapacity(), 1000);
  EXPECT_EQ(Table.GetLabelAddress(0), -1);
  EXPECT_EQ(Table.NewLabel(), 0);
  EXPECT_EQ(Table.GetLabelAddress(0), -1);
}

TEST_F(SymbolTableTest, NamedLabelsBelongToTheirDepth) {
  ASSERT_TRUE(Table.DeclareLabel("10"));
  std::int32_t label = -5;
  ASSERT_TRUE(Table.FindLabel("10", label));
  EXPECT_EQ(label, 0);
  Table.OpenScope();
  EXPECT_FALSE(Table.FindLabel("10", label));
  EXPECT_EQ(label, -1);
  Table.CloseScope();
  Table.SetLabelAddress(0, 33);
  Table.CloseScope();
  // The number stays valid after its scope closed.
  EXPECT_EQ(Table.GetLabelAddress(0), 33);
}

TEST_F(SymbolTableTest, FirstUnspecifiedTypeOfTheScope) {
  TTypeDescriptor *found = Integer;
  EXPECT_FALSE(Table.FindUnspecifiedType(found));
  EXPECT_EQ(found, nullptr);
  TTypeDescriptor *t1 = Table.NewType(tyUnspecified, "T1");
  TTypeDescriptor *t2 = Table.NewType(tyUnspecified, "T2");
  ASSERT_TRUE(Table.DeclareType(Table.NewType(tyRecord, "R")));
  ASSERT_TRUE(Table.DeclareType(t2));
  ASSERT_TRUE(Table.DeclareType(t1));
  ASSERT_TRUE(Table.FindUnspecifiedType(found));
  EXPECT_EQ(found, t2);
  t2->Kind = tyInteger;
  ASSERT_TRUE(Table.FindUnspecifiedType(found));
  EXPECT_EQ(found, t1);
  Table.OpenScope();
  EXPECT_FALSE(Table.FindUnspecifiedType(found));
}

TEST_F(SymbolTableTest, ClearClosesEveryScope) {
  Table.OpenScope();
  Table.DeclareVariable("Deep", Integer);
  Table.Clear();
  EXPECT_EQ(Table.GetScopeDepth(), 0);
  TSymbol s;
  EXPECT_FALSE(Table.FindSymbol("Integer", s));
  EXPECT_FALSE(Table.FindSymbol("Deep", s));
  EXPECT_FALSE(Table.DeclareVariable("X", nullptr));  // no scope to declare in
  Table.OpenScope();
  EXPECT_TRUE(Table.DeclareVariable("Deep", nullptr));
}

TEST_F(SymbolTableTest, ManyNamesInManyScopes) {
  for (int depth = 0; depth < 20; ++depth) {
    Table.OpenScope();
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(Table.DeclareVariable("V" + std::to_string(i), Integer));
  }
  TVariableDescriptor v;
  ASSERT_TRUE(Table.FindVariable("v299", v));
  EXPECT_EQ(v.Level, 22);
  for (int depth = 0; depth < 20; ++depth) Table.CloseScope();
  EXPECT_FALSE(Table.FindVariable("v0", v));
}

TEST_F(SymbolTableTest, ReleasingDescriptors) {
  // A nameless type shared by two variables is counted; releasing leaves it usable.
  TTypeDescriptor *shared = Array(1, 2, Integer);
  Table.OpenScope();
  ASSERT_TRUE(Table.DeclareVariable("A", shared));
  ASSERT_TRUE(Table.DeclareVariable("B", shared));
  shared->RefCount = 2;
  Table.CloseScope();
  EXPECT_EQ(shared->RefCount, 0);
  EXPECT_EQ(shared->ElementType, Integer);

  TTypeDescriptor *type = Array(1, 2, Array(1, 2, Integer));
  Table.FreeType(type);
  EXPECT_EQ(type, nullptr);
  TProcedureDescriptor *proc = Procedure("P", Integer, {Table.NewParameter("X", Integer, true)});
  Table.FreeProcedure(proc);
  EXPECT_EQ(proc, nullptr);
}

void ExpectAssertion(const std::function<void()> &action, const std::string &message) {
  try {
    action();
    ADD_FAILURE() << "no assertion: " << message;
  } catch (const EAssertionFailed &e) {
    // "<message> (USymbolTable, line <n>)"
    const std::string text = e.what();
    const std::string head = message + " (USymbolTable, line ";
    ASSERT_GT(text.size(), head.size() + 1) << text;
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.back(), ')');
    const std::string line = text.substr(head.size(), text.size() - head.size() - 1);
    EXPECT_FALSE(line.empty());
    EXPECT_EQ(line.find_first_not_of("0123456789"), std::string::npos) << text;
  }
}

TEST_F(SymbolTableTest, BrokenInvariantsFailAssertions) {
  ExpectAssertion([&] { Table.CalcTypeSize(nullptr); }, "CalcTypeSize called with NIL argument");
  ExpectAssertion(
      [&] {
        TTypeDescriptor *copy = Table.NewType(tyCopy, "C");
        copy->Base = Array(1, 2, Integer);
        Table.FreeType(copy);
      },
      "\"Copy of a nameless type\" type descriptor found");
  ExpectAssertion(
      [&] {
        TProcedureDescriptor *p = Procedure("P", Array(1, 2, Integer), {});
        Table.FreeProcedure(p);
      },
      "Procedure with a nameless return type found");
  ExpectAssertion(
      [&] {
        TParmDescriptor *parm = Table.NewParameter("X", Array(1, 2, Integer), true);
        Table.FreeParameterList(parm);
      },
      "Parameter with a nameless type found");
}

TEST_F(SymbolTableTest, AssertionDuringCloseLeavesTheTableUsable) {
  Table.OpenScope();
  TTypeDescriptor *copy = Table.NewType(tyCopy, "C");
  copy->Base = Array(1, 2, Integer);
  ASSERT_TRUE(Table.DeclareType(copy));
  ASSERT_TRUE(Table.DeclareVariable("V", Integer));
  EXPECT_THROW(Table.CloseScope(), EAssertionFailed);
  Table.Clear();
  EXPECT_EQ(Table.GetScopeDepth(), 0);
}

}  // namespace
