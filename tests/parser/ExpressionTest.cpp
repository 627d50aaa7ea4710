// Code of expressions and declarations, compared instruction by instruction, and the
// diagnostics of their error paths.
#include "CompileHelper.h"

namespace {

using Code = std::vector<std::string>;

struct CodeCase {
  const char *name;
  const char *declarations;  // VAR section and the like, before BEGIN
  const char *statement;     // one statement of the main body
  Code body;                 // code of the body (without Init, IncSP and Ret)
};

class BodyCodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(BodyCodeTest, CompilesTo) {
  const CodeCase &c = GetParam();
  const std::string source =
      std::string("PROGRAM t;\n") + c.declarations + "\nBEGIN\n" + c.statement + "\nEND.\n";
  const TCompiled compiled = CompileSource(source);
  EXPECT_EQ(BodyCode(compiled), c.body) << source;
}

// x at 12, y at 16 (Integers), r at 20 (Real), b at 28 (Boolean), s at 29 (String).
const char *const Vars = "VAR x, y: Integer; r: Real; b: Boolean; s: String;";
const char *const XAddr = "PushMP";

const CodeCase ExpressionCases[] = {
    {"AddConstantsAfterVariableBecomeOneIncrement", Vars, "x := x + 1 + 2",
     {XAddr, "IncInt 12", "PushMP", "IncInt 12", "Deref 4", "IncInt 3", "Sto 4"}},
    {"LeadingConstantsFold", Vars, "x := 1 + 2 + x",
     {XAddr, "IncInt 12", "PushInt 3", "PushMP", "IncInt 12", "Deref 4", "Add Int", "Sto 4"}},
    {"SubtractionBecomesNegativeIncrement", Vars, "x := x - 1",
     {XAddr, "IncInt 12", "PushMP", "IncInt 12", "Deref 4", "IncInt -1", "Sto 4"}},
    {"IncrementsThatCancelVanish", Vars, "x := x + 3 - 3",
     {XAddr, "IncInt 12", "PushMP", "IncInt 12", "Deref 4", "Sto 4"}},
    {"LoneNegationKeepsItsPush", Vars, "x := -5", {XAddr, "IncInt 12", "PushInt 5", "Neg Int", "Sto 4"}},
    {"NegationFoldsWhenAnAddingOperatorFollows", Vars, "x := -5 + 0",
     {XAddr, "IncInt 12", "PushInt -5", "Sto 4"}},
    {"NotOfAConstantInteger", Vars, "x := NOT 5", {XAddr, "IncInt 12", "PushInt 5", "Not Int", "Sto 4"}},
    {"NotTrueFoldsInsideARelation", Vars, "b := NOT TRUE = FALSE",
     {XAddr, "IncInt 28", "PushBool True", "Sto 1"}},
    {"OverflowingConstantIsEmittedAsLow32Bits", Vars, "x := 2147483647 + 1",
     {XAddr, "IncInt 12", "PushInt -2147483648", "Sto 4"}},
    {"FoldedConstantComparesAs64Bits", Vars, "b := 2147483647 + 1 > 0",
     {XAddr, "IncInt 28", "PushBool True", "Sto 1"}},
    {"IntegerDivisionBySlashFoldsToReal", Vars, "r := 7 / 2", {XAddr, "IncInt 20", "PushReal 3.5", "Sto 8"}},
    {"SlashOfIntegerVariables", Vars, "r := x / y",
     {XAddr, "IncInt 20", "PushMP", "IncInt 12", "Deref 4", "PushMP", "IncInt 16", "Deref 4", "IntToReal",
      "SwapIntReal", "IntToReal", "Swap 8", "Div Real", "Sto 8"}},
    {"IntegerMinusRealFolds", Vars, "r := 1 - 2.5", {XAddr, "IncInt 20", "PushReal -1.5", "Sto 8"}},
    {"IntegerMinusRealVariableSwaps", Vars, "r := 1 - r",
     {XAddr, "IncInt 20", "PushInt 1", "PushMP", "IncInt 20", "Deref 8", "SwapIntReal", "IntToReal",
      "Swap 8", "Sub Real", "Sto 8"}},
    {"IntegerPlusRealVariableNeedsNoSwap", Vars, "r := 1 + r",
     {XAddr, "IncInt 20", "PushInt 1", "PushMP", "IncInt 20", "Deref 8", "SwapIntReal", "IntToReal",
      "Add Real", "Sto 8"}},
    {"RealPlusIntegerVariable", Vars, "r := r + x",
     {XAddr, "IncInt 20", "PushMP", "IncInt 20", "Deref 8", "PushMP", "IncInt 12", "Deref 4", "IntToReal",
      "Add Real", "Sto 8"}},
    {"StringConcatenationFolds", Vars, "s := 'ab' + 'cd'", {XAddr, "IncInt 29", "PushStr 'abcd'", "Sto 256"}},
    {"StringComparisonFolds", Vars, "b := 'b' > 'abc'", {XAddr, "IncInt 28", "PushBool True", "Sto 1"}},
    {"MixedComparisonFolds", Vars, "b := 1 < 2.5", {XAddr, "IncInt 28", "PushBool True", "Sto 1"}},
    {"BooleanAndWithVariable", Vars, "b := TRUE AND b",
     {XAddr, "IncInt 28", "PushBool True", "PushMP", "IncInt 28", "Deref 1", "And Bool", "Sto 1"}},
    {"OrFolds", Vars, "b := TRUE OR FALSE", {XAddr, "IncInt 28", "PushBool True", "Sto 1"}},
    {"MultiplicationWrapsAt64Bits", Vars, "x := 2147483647 * 2", {XAddr, "IncInt 12", "PushInt -2", "Sto 4"}},
    {"ShlBeyond32Bits", Vars, "x := 1 SHL 40", {XAddr, "IncInt 12", "PushInt 0", "Sto 4"}},
    {"DivAndModTruncateTowardZero", Vars, "x := (-7) DIV 2 + (-7) MOD 2 * 10 + 7 MOD (-2) * 100",
     {XAddr, "IncInt 12", "PushInt 87", "Sto 4"}},
    {"SignBindsToTheWholeFirstTerm", Vars, "x := -7 MOD 2", {XAddr, "IncInt 12", "PushInt 1", "Neg Int", "Sto 4"}},
    {"ShiftCountBeyond63ShiftsEverythingOut", Vars, "x := (1 SHL 64) + (5 SHR 70) + (1 SHL (0 - 1))",
     {XAddr, "IncInt 12", "PushInt 0", "Sto 4"}},
    {"ShiftCount63KeepsTheLastBit", Vars, "b := 1 SHL 63 < 0", {XAddr, "IncInt 28", "PushBool True", "Sto 1"}},
    {"RealOverflowIsLeftToTheMachine", Vars, "r := 1E308 * 10",
     {XAddr, "IncInt 20", "PushReal 1e+308", "PushInt 10", "IntToReal", "Mul Real", "Sto 8"}},
    {"RealSumOverflowIsLeftToTheMachine", Vars, "r := 1E308 + 1E308",
     {XAddr, "IncInt 20", "PushReal 1e+308", "PushReal 1e+308", "Add Real", "Sto 8"}},
    {"MostNegativeDivMinusOneWraps", Vars, "x := (-2147483647 - 1) * 65536 * 65536 DIV (0 - 1)",
     {XAddr, "IncInt 12", "PushInt 0", "Sto 4"}},
    {"ConstantsOfTheConstSection", "CONST n = 10; m = n * 2; VAR x: Integer;", "x := m",
     {XAddr, "IncInt 12", "PushInt 20", "Sto 4"}},
    {"NilIsAZeroPointer", "VAR p: ^Integer;", "p := NIL", {XAddr, "IncInt 12", "PushInt 0", "Sto 4"}},
    {"PointerDereference", "VAR p: ^Integer; x: Integer;", "x := p^",
     {XAddr, "IncInt 16", "PushMP", "IncInt 12", "Deref 4", "Deref 4", "Sto 4"}},
    {"AddressOfAnIntegerVariable", "VAR p: ^Integer; x: Integer;", "p := @x",
     {XAddr, "IncInt 12", "PushMP", "IncInt 16", "Sto 4"}},
    {"RecordFieldsInAnyCase", "TYPE R = RECORD a: Integer; f: Real END; VAR v: R; q: Real;", "q := v.F + V.f",
     {XAddr, "IncInt 24", "PushMP", "IncInt 16", "Deref 8", "PushMP", "IncInt 16", "Deref 8", "Add Real",
      "Sto 8"}},
};
INSTANTIATE_TEST_SUITE_P(Expressions, BodyCodeTest, ::testing::ValuesIn(ExpressionCases),
                         [](const auto &info) { return std::string(info.param.name); });

const CodeCase IndexCases[] = {
    {"VariableIndexFromTheExample", "VAR x: Integer; a: ARRAY [1..10] OF Integer; i: Integer;", "x := a[i] + 1",
     {"PushMP", "IncInt 12", "PushMP", "IncInt 16", "PushMP", "IncInt 56", "Deref 4", "IncInt -1", "PushInt 4",
      "Mul Int", "Add Int", "Deref 4", "IncInt 1", "Sto 4"}},
    {"ConstantIndexMergesWithTheAddress", "VAR x: Integer; a: ARRAY [1..10] OF Integer;", "x := a[3]",
     {"PushMP", "IncInt 12", "PushMP", "IncInt 24", "Deref 4", "Sto 4"}},
    {"IndexOutsideTheBoundsIsAccepted", "VAR x: Integer; a: ARRAY [1..10] OF Integer;", "x := a[100]",
     {"PushMP", "IncInt 12", "PushMP", "IncInt 412", "Deref 4", "Sto 4"}},
    {"ZeroLowBoundNeedsNoIncrement", "VAR x: Integer; a: ARRAY [0..9] OF Real; i: Integer;", "x := Round(a[i])",
     {"PushMP", "IncInt 12", "PushMP", "IncInt 16", "PushMP", "IncInt 96", "Deref 4", "PushInt 8", "Mul Int",
      "Add Int", "Deref 8", "Round", "Sto 4"}},
};
INSTANTIATE_TEST_SUITE_P(Indexes, BodyCodeTest, ::testing::ValuesIn(IndexCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Indexes, CommaIndexEqualsRepeatedBrackets) {
  const char *decl = "PROGRAM t; VAR a: ARRAY [1..3, 0..4] OF Integer; i, j, x: Integer;\nBEGIN\n";
  const TCompiled comma = CompileSource(std::string(decl) + "x := a[i, j]\nEND.\n");
  const TCompiled brackets = CompileSource(std::string(decl) + "x := a[i][j]\nEND.\n");
  EXPECT_TRUE(comma.Ok);
  EXPECT_EQ(comma.Code, brackets.Code);
}

TEST(Declarations, FrameOfTheBasicTypes) {
  const TCompiled c =
      CompileSource("PROGRAM t; VAR a: Integer; b: Real; c: Boolean; s: String;\nBEGIN\n"
                    "a := 1; b := 2.5; c := TRUE; s := 'x'\nEND.\n");
  ASSERT_TRUE(c.Ok) << ::testing::PrintToString(c.Errors);
  const Code expected = {"Init",      "IncSP 269", "PushMP",  "IncInt 12",   "PushInt 1",
                         "Sto 4",     "PushMP",    "IncInt 16", "PushReal 2.5", "Sto 8",
                         "PushMP",    "IncInt 24", "PushBool True", "Sto 1", "PushMP",
                         "IncInt 25", "PushStr 'x'", "Sto 256", "Ret"};
  EXPECT_EQ(c.Code, expected);
  EXPECT_EQ(c.Program->GetProgramName(), "t");
  EXPECT_EQ(c.Program->GetSourceFileName(), "t.pas");
}

TEST(Declarations, SizesOfArraysAndRecords) {
  struct Case {
    const char *type;
    int size;
  };
  const Case cases[] = {{"ARRAY[1..10] OF Integer", 40},
                        {"ARRAY[1..2, 1..3] OF Real", 48},
                        {"RECORD a, b: Integer; c: Boolean END", 9},
                        {"RECORD a: Integer; b: Real; c: Boolean END", 13},
                        {"ARRAY[1..SizeOf(Real)] OF Boolean", 8},
                        {"RECORD END", 0}};
  for (const Case &c : cases) {
    const TCompiled compiled =
        CompileSource(std::string("PROGRAM t; CONST k = 1; VAR v: ") + c.type + ";\nBEGIN\nEND.\n");
    ASSERT_TRUE(compiled.Ok) << c.type << ::testing::PrintToString(compiled.Errors);
    const Code expected = c.size ? Code{"Init", "IncSP " + std::to_string(c.size), "Ret"} : Code{"Init", "Ret"};
    EXPECT_EQ(compiled.Code, expected) << c.type;
  }
}

TEST(Declarations, ProgramWithoutHeadingAndForwardPointers) {
  const TCompiled c = CompileSource(
      "TYPE P = ^T; T = RECORD v: Integer; next: P END; A = Integer;\n"
      "VAR n: T; q: P; x: A;\nBEGIN\n q := @n; q^.next := NIL; x := q^.v\nEND.\n");
  EXPECT_TRUE(c.Ok) << ::testing::PrintToString(c.Errors);
  EXPECT_EQ(c.Program->GetProgramName(), "");
  EXPECT_EQ(c.Code.at(1), "IncSP 16");
}

TEST(Declarations, ConstantsLeaveNoCode) {
  const TCompiled c = CompileSource("PROGRAM t; CONST n = 10; VAR a: ARRAY[1..n] OF Integer;\nBEGIN\nEND.\n");
  EXPECT_TRUE(c.Ok);
  EXPECT_EQ(c.Code, (Code{"Init", "IncSP 40", "Ret"}));
}

TEST(AddressOperator, RecordAddressIsAnUntypedPointerThatWorks) {
  const TCompiled c = CompileSource(
      "PROGRAM t; TYPE R = RECORD a, b: Integer END; PR = ^R;\n"
      "VAR rec: R; p: PR;\nBEGIN\np := @rec;\np^.b := 7\nEND.\n");
  EXPECT_TRUE(c.Ok) << ::testing::PrintToString(c.Errors);
  ASSERT_EQ(c.Errors.size(), 1u);
  EXPECT_EQ(c.Errors[0],
            "[Warning] t.pas(4): The type of the left part of an assignment differs from the type of the "
            "expression to be assigned");
  EXPECT_EQ(BodyCode(c), (Code{"PushMP", "IncInt 20", "PushMP", "IncInt 12", "Sto 4", "PushMP", "IncInt 20",
                               "Deref 4", "IncInt 4", "PushInt 7", "Sto 4"}));
}

TEST(AddressOperator, AddressOfARealCannotBeStoredIntoAReal) {
  const TCompiled c = CompileSource("PROGRAM t; VAR r, r2: Real;\nBEGIN\nr2 := @r;\nEND.\n");
  EXPECT_FALSE(c.Ok);
  EXPECT_EQ(c.Errors, (Code{"[Error] t.pas(3): Illegal assignment"}));
}

struct DiagnosticCase {
  const char *name;
  const char *source;
  Code errors;
};

class DiagnosticTest : public ::testing::TestWithParam<DiagnosticCase> {};

TEST_P(DiagnosticTest, Reports) {
  const DiagnosticCase &c = GetParam();
  const TCompiled compiled = CompileSource(c.source);
  EXPECT_EQ(compiled.Errors, c.errors) << c.source;
  bool anyError = false;
  for (const std::string &e : c.errors) anyError = anyError || e.rfind("[Error]", 0) == 0;
  EXPECT_EQ(compiled.Ok, !anyError);
}

const DiagnosticCase DiagnosticCases[] = {
    {"HintForTextAfterTheEnd", "BEGIN\nEND.\nmore",
     {"[Hint] t.pas(3): Text after final 'END.' - ignored by compiler"}},
    {"NoHintAtTheEnd", "PROGRAM t;\nBEGIN\nEND.", {}},
    {"ProgramNameMissing", "PROGRAM ;\nBEGIN\nEND.", {"[Error] t.pas(1): Program name missing"}},
    {"Redeclared", "VAR a: Integer;\n A: Real;\nBEGIN END.", {"[Error] t.pas(2): Identifier redeclared: 'A'"}},
    {"ArrayBoundsReversed", "VAR a: ARRAY[5..1] OF Integer;\nBEGIN END.",
     {"[Error] t.pas(1): Syntax error in array type declaration"}},
    {"ArrayBoundNotConstant", "VAR x: Integer;\n a: ARRAY[1..x] OF Integer;\nBEGIN END.",
     {"[Error] t.pas(2): Constant integer expression expected"}},
    {"RepeatedFieldNames", "TYPE R = RECORD a: Integer;\n A: Real END;\nBEGIN END.",
     {"[Error] t.pas(2): Names of fields in record cannot repeat"}},
    {"TypeLeftUnspecified", "TYPE P = ^T;\nBEGIN\nEND.", {"[Error] t.pas(2): Type left unspecified: 'T'"}},
    {"UndeclaredPointerTarget", "VAR p: ^T;\nBEGIN END.",
     {"[Error] t.pas(1): Undeclared type", }},
    {"UndeclaredTypeName", "VAR p: Foo;\nBEGIN END.", {"[Error] t.pas(1): Undeclared identifier: Foo"}},
    {"MissingSemicolonAfterDeclarations", "VAR a: Integer\nBEGIN END.", {"[Error] t.pas(2): ; missing"}},
    {"ConstantExpressionExpected", "VAR x: Integer;\nCONST c = x;\nBEGIN END.",
     {"[Error] t.pas(2): Constant expression expected"}},
    {"IntegerConvertedToReal", "VAR r: Real;\nBEGIN\nr := 3;\nEND.",
     {"[Hint] t.pas(3): Integer converted to Real"}},
    {"BadFactor", "VAR x: Integer;\nBEGIN\nx := );\nEND.", {"[Error] t.pas(3): Bad factor"}},
    {"UndeclaredVariable", "BEGIN\nq := 1;\nEND.", {"[Error] t.pas(2): Undeclared variable: 'q'"}},
    {"DivisionByZeroFolded", "VAR x: Integer;\nBEGIN\nx := 5 DIV 0;\nEND.", {"[Error] t.pas(3): Division by 0"}},
    {"RealDivisionByZeroAfterWarning", "VAR r: Real;\nBEGIN\nr := 1.0 / 0;\nEND.",
     {"[Warning] t.pas(3): Converting Integer to Real", "[Error] t.pas(3): Division by 0"}},
    {"VariableDivisorIsNotChecked", "VAR x: Integer;\nBEGIN\nx := x DIV 0;\nEND.", {}},
    {"CompareBooleans", "VAR b: Boolean;\nBEGIN\nb := TRUE < FALSE;\nEND.",
     {"[Error] t.pas(3): Can't compare booleans"}},
    {"CompareDifferentTypes", "VAR b: Boolean; x: Integer;\nBEGIN\nb := x = b;\nEND.",
     {"[Error] t.pas(3): Can't compare different types"}},
    {"PointerAgainstNil", "VAR b: Boolean; p: ^Integer;\nBEGIN\nb := p = NIL;\nEND.",
     {"[Warning] t.pas(3): Comparing different types"}},
    {"RecordsCannotBeOrdered", "TYPE R = RECORD a: Integer END; VAR b: Boolean; u, v: R;\nBEGIN\nb := u < v;\nEND.",
     {"[Error] t.pas(3): Can't compare"}},
    {"IrrelevantTypes", "VAR s: String; x: Integer;\nBEGIN\ns := s + x;\nEND.",
     {"[Error] t.pas(3): Irrelevant types"}},
    {"StringTimesInteger", "VAR x: Integer;\nBEGIN\nx := 'a' * 2;\nEND.", {"[Error] t.pas(3): Irrelevant types"}},
    {"StringTimesString", "VAR s: String;\nBEGIN\ns := 'a' * 'b';\nEND.",
     {"[Error] t.pas(3): Operator not applicable to operands of this type"}},
    {"SignOnAString", "VAR s: String;\nBEGIN\ns := -'a';\nEND.", {"[Error] t.pas(3): Can't use - or + with this type"}},
    {"NotOnAReal", "VAR r: Real;\nBEGIN\nr := NOT 1.5;\nEND.",
     {"[Error] t.pas(3): Wrong type of argument for NOT operation"}},
    {"DereferenceOfANonPointer", "VAR x: Integer;\nBEGIN\nx := x^;\nEND.",
     {"[Error] t.pas(3): Can't dereference variable of this type"}},
    {"FieldOfANonRecord", "VAR x: Integer;\nBEGIN\nx := x.a;\nEND.", {"[Error] t.pas(3): Not a record type"}},
    {"UnknownField", "TYPE R = RECORD a: Integer END; VAR v: R;\nBEGIN\nv.b := 1;\nEND.",
     {"[Error] t.pas(3): Undeclared identifier: 'b'"}},
    {"IndexOfANonArray", "VAR x: Integer;\nBEGIN\nx := x[1];\nEND.", {"[Error] t.pas(3): Type error"}},
    {"TwoErrorsOnOneLineListOne", "VAR x: Integer;\nBEGIN\nx := q + z;\nEND.",
     {"[Error] t.pas(3): Undeclared variable: 'q'"}},
    {"ErrorsOnLines5Then7Then5", "VAR x: Integer;\nBEGIN\nx := 1;\nx := 2;\nx := q;\nx := 3;\nx := z;\nEND.",
     {"[Error] t.pas(5): Undeclared variable: 'q'", "[Error] t.pas(7): Undeclared variable: 'z'"}},
    {"UnexpectedEndOfFile", "VAR x: Integer;\nBEGIN\nx := 1", {"[Error] t.pas(3): Unexpected end of file encountered"}},
    {"EndOfFileOnTheLineOfAnErrorIsNotListedAgain", "BEGIN\nx := (", {"[Error] t.pas(2): Undeclared variable: 'x'"}},
};
INSTANTIATE_TEST_SUITE_P(Diagnostics, DiagnosticTest, ::testing::ValuesIn(DiagnosticCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Driver, MissingFileGivesOneDiagnostic) {
  TUVParser parser;
  const std::string missing = ::testing::TempDir() + "no/such/file.pas";
  EXPECT_FALSE(parser.Compile(missing));
  ASSERT_EQ(parser.GetErrors().size(), 1u);
  EXPECT_EQ(parser.GetErrors()[0], "[Error] file.pas(1): I/O error reading file " + missing);
  EXPECT_EQ(parser.GetProgram()->GetCount(), 0);
}

TEST(Driver, JumpsAreResolvedToIndexes) {
  const TCompiled c = CompileSource(
      "PROGRAM t; VAR x: Integer;\nPROCEDURE P; BEGIN x := 1 END;\nBEGIN\n"
      "WHILE x < 3 DO x := x + 1;\nP\nEND.\n");
  ASSERT_TRUE(c.Ok) << ::testing::PrintToString(c.Errors);
  TInstruction instr;
  for (std::int32_t i = 0; i < c.Program->GetCount(); ++i) {
    c.Program->GetInstruction(i, instr);
    if (instr.Opcode == ocJump || instr.Opcode == ocJifF) {
      EXPECT_GE(instr.IntValue, 0) << i;
      EXPECT_LE(instr.IntValue, c.Program->GetCount()) << i;
    }
  }
  EXPECT_EQ(c.Code.at(1), "Jump 8");
}

TEST(Driver, DeepNestingEndsWithParsingError) {
  const std::string source =
      "VAR x: Integer;\nBEGIN\nx := " + std::string(100000, '(') + "1" + std::string(100000, ')') + "\nEND.\n";
  const TCompiled c = CompileSource(source);
  EXPECT_FALSE(c.Ok);
  ASSERT_FALSE(c.Errors.empty());
  EXPECT_EQ(c.Errors.back(), "[Error] t.pas(3): Parsing error");
}

TEST(Driver, ModerateNestingCompiles) {
  const std::string source =
      "VAR x: Integer;\nBEGIN\nx := " + std::string(50, '(') + "1" + std::string(50, ')') + "\nEND.\n";
  EXPECT_TRUE(CompileSource(source).Ok);
}

}  // namespace
