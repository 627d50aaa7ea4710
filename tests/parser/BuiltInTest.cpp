// Built-in routines and type conversions: the code of every routine, folding of constant
// arguments, the diagnostics of wrong arguments, predeclared names hidden by the program, and
// the routines at run time.
#include "CompileHelper.h"
#include "Errors.h"
#include "Interpreter.h"
#include "MemoryConsole.h"

namespace {

using Code = std::vector<std::string>;

// i at 12, r at 16, b at 24, s at 25, p at 281, v (10 Booleans) at 285.
const char *const Globals =
    "PROGRAM t;\nVAR i: Integer; r: Real; b: Boolean; s: String; p: ^Integer;\n"
    "v: ARRAY [1..10] OF Boolean;\n";

TCompiled CompileBody(const std::string &body) {
  return CompileSource(std::string(Globals) + "BEGIN\n" + body + "\nEND.\n");
}

struct ShapeCase {
  const char *name;
  const char *body;
  Code code;  // body code: without Init, the globals' IncSP and the final Ret
};

class BuiltInShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(BuiltInShape, CompilesTo) {
  const ShapeCase &c = GetParam();
  const TCompiled compiled = CompileBody(c.body);
  EXPECT_EQ(BodyCode(compiled), c.code) << c.body << ::testing::PrintToString(compiled.Errors);
}

const ShapeCase Shapes[] = {
    {"SizeOfInteger", "i := SIZEOF(Integer)", {"PushMP", "IncInt 12", "PushInt 4", "Sto 4"}},
    {"SizeOfString", "i := SizeOf(String)", {"PushMP", "IncInt 12", "PushInt 256", "Sto 4"}},
    {"SizeOfReal", "i := sizeof(Real)", {"PushMP", "IncInt 12", "PushInt 8", "Sto 4"}},
    {"SizeOfAVariableDropsItsAddressCode", "i := SIZEOF(v)",
     {"PushMP", "IncInt 12", "PushInt 10", "Sto 4"}},
    {"SizeOfAnElement", "i := SIZEOF(v[i])", {"PushMP", "IncInt 12", "PushInt 1", "Sto 4"}},
    {"SizeOfFoldsInAnExpression", "i := SIZEOF(Real) * 2",
     {"PushMP", "IncInt 12", "PushInt 16", "Sto 4"}},
    {"SinOfAConstantIntegerFolds", "r := SIN(0)", {"PushMP", "IncInt 16", "PushReal 0", "Sto 8"}},
    {"CosFolds", "r := COS(0.0)", {"PushMP", "IncInt 16", "PushReal 1", "Sto 8"}},
    {"ArcTanFolds", "r := ARCTAN(1)",
     {"PushMP", "IncInt 16", "PushReal 0.78539816339744828", "Sto 8"}},
    {"SinOfAHugeValueIsZeroLikeTheMachines", "r := SIN(1E19) + COS(-1E19)",
     {"PushMP", "IncInt 16", "PushReal 0", "Sto 8"}},
    {"SinOfAVariable", "r := SIN(r)",
     {"PushMP", "IncInt 16", "PushMP", "IncInt 16", "Deref 8", "Sin", "Sto 8"}},
    {"SinOfAnIntegerVariable", "r := SIN(i)",
     {"PushMP", "IncInt 16", "PushMP", "IncInt 12", "Deref 4", "IntToReal", "Sin", "Sto 8"}},
    {"RoundHalfToEvenDown", "i := ROUND(2.5)", {"PushMP", "IncInt 12", "PushInt 2", "Sto 4"}},
    {"RoundHalfToEvenUp", "i := ROUND(3.5)", {"PushMP", "IncInt 12", "PushInt 4", "Sto 4"}},
    {"RoundNegativeHalf", "i := ROUND(-2.5)", {"PushMP", "IncInt 12", "PushInt -2", "Sto 4"}},
    {"RoundNotHalf", "i := ROUND(-2.6)", {"PushMP", "IncInt 12", "PushInt -3", "Sto 4"}},
    {"RoundKeepsTheLow32Bits", "i := ROUND(4294967298.0)",
     {"PushMP", "IncInt 12", "PushInt 2", "Sto 4"}},
    // Too large for a 64-bit integer: left to the machine, which reports it at run time.
    {"RoundOfAHugeValueIsNotFolded", "i := ROUND(1E300)",
     {"PushMP", "IncInt 12", "PushReal 1.0000000000000001e+300", "Round", "Sto 4"}},
    {"RoundOfAVariable", "i := ROUND(r)",
     {"PushMP", "IncInt 12", "PushMP", "IncInt 16", "Deref 8", "Round", "Sto 4"}},
    {"IntToStrFolds", "s := INTTOSTR(42)", {"PushMP", "IncInt 25", "PushStr '42'", "Sto 256"}},
    {"IntToStrOfANegativeFold", "s := INTTOSTR(-7 * 3)",
     {"PushMP", "IncInt 25", "PushStr '-21'", "Sto 256"}},
    {"IntToStrOfAVariable", "s := INTTOSTR(i)",
     {"PushMP", "IncInt 25", "PushMP", "IncInt 12", "Deref 4", "IntToStr", "Sto 256"}},
    {"FloatToStrFolds", "s := FLOATTOSTR(1 / 3)",
     {"PushMP", "IncInt 25", "PushStr '0.333333333333333'", "Sto 256"}},
    {"FloatToStrScientific", "s := FLOATTOSTR(1E15)",
     {"PushMP", "IncInt 25", "PushStr '1E15'", "Sto 256"}},
    {"OddOfSevenFolds", "b := ODD(7)", {"PushMP", "IncInt 24", "PushBool True", "Sto 1"}},
    {"OddOfANegativeFolds", "b := ODD(-3)", {"PushMP", "IncInt 24", "PushBool True", "Sto 1"}},
    {"OddOfFourFolds", "b := ODD(4)", {"PushMP", "IncInt 24", "PushBool False", "Sto 1"}},
    {"OddOfAVariable", "b := ODD(i)",
     {"PushMP", "IncInt 24", "PushMP", "IncInt 12", "Deref 4", "Odd 0", "Sto 1"}},
    {"Random", "i := RANDOM(6)", {"PushMP", "IncInt 12", "PushInt 6", "Random 0", "Sto 4"}},
    {"Write", "WRITE('a')", {"PushStr 'a'", "Write"}},
    {"WriteLnOfAnExpression", "WRITELN(s + INTTOSTR(1))",
     {"PushMP", "IncInt 25", "Deref 256", "PushStr '1'", "Add Str", "WriteLn"}},
    {"ReadLnAlone", "READLN", {"PushInt 0", "ReadLn"}},
    {"ReadLnWithEmptyParentheses", "READLN()", {"PushInt 0", "ReadLn"}},
    {"ReadLnInteger", "READLN(i)", {"PushMP", "IncInt 12", "ReadLn Int"}},
    {"ReadLnReal", "READLN(r)", {"PushMP", "IncInt 16", "ReadLn Real"}},
    {"ReadLnString", "READLN(s)", {"PushMP", "IncInt 25", "ReadLn"}},
    {"ReadLnPointerTarget", "READLN(p^)", {"PushMP", "IncInt 281", "Deref 4", "ReadLn Int"}},
    {"Inc", "INC(i)", {"PushMP", "IncInt 12", "Dup 4", "Deref 4", "IncInt 1", "Sto 4"}},
    {"Dec", "DEC(p^)",
     {"PushMP", "IncInt 281", "Deref 4", "Dup 4", "Deref 4", "IncInt -1", "Sto 4"}},
    {"Exit", "EXIT", {"Ret"}},
    {"Halt", "HALT()", {"Halt"}},
    {"RealOfAConstant", "r := REAL(3)", {"PushMP", "IncInt 16", "PushInt 3", "IntToReal", "Sto 8"}},
    {"RealOfAConstantFoldsInAnExpression", "r := REAL(3) / 2",
     {"PushMP", "IncInt 16", "PushReal 1.5", "Sto 8"}},
    {"IntegerOfAPointerIsRetyped", "i := INTEGER(p)",
     {"PushMP", "IncInt 12", "PushMP", "IncInt 281", "Deref 4", "Sto 4"}},
    {"ConversionAsAStatementIsDropped", "Integer(p)",
     {"PushMP", "IncInt 281", "Deref 4", "IncSP -4"}},
};
INSTANTIATE_TEST_SUITE_P(BuiltIns, BuiltInShape, ::testing::ValuesIn(Shapes),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(BuiltInShape, FoldedCallsAreConstantExpressions) {
  const TCompiled c = CompileSource(
      "PROGRAM t;\nCONST n = SIZEOF(Real) + ROUND(2.5); t = INTTOSTR(n); o = ODD(n);\n"
      "VAR a: ARRAY [1..n] OF Integer; s: String; b: Boolean;\n"
      "BEGIN\ns := t; b := o\nEND.\n");
  EXPECT_TRUE(c.Ok) << ::testing::PrintToString(c.Errors);
  const Code expected = {"Init", "IncSP 297", "PushMP", "IncInt 52", "PushStr '10'", "Sto 256",
                         "PushMP", "IncInt 308", "PushBool False", "Sto 1", "Ret"};
  EXPECT_EQ(c.Code, expected);
}

TEST(BuiltInShape, ProgramMayHidePredeclaredNames) {
  const TCompiled c = CompileSource(
      "PROGRAM t;\nVAR Sin: Real;\n"
      "FUNCTION Write(x: Integer): Integer; BEGIN Write := x END;\n"
      "BEGIN\nSin := Write(2)\nEND.\n");
  EXPECT_TRUE(c.Ok) << ::testing::PrintToString(c.Errors);
  const Code expected = {"Init", "Jump 9",
                         "PushMP", "IncInt -4", "PushMP", "IncInt 12", "Deref 4", "Sto 4", "Ret",
                         "IncSP 8", "PushMP", "IncInt 12", "IncSP 4", "PushMP", "PushMP",
                         "PushPC 4", "PushInt 2", "SetMP 15", "Jump 2", "IntToReal", "Sto 8",
                         "Ret"};
  EXPECT_EQ(c.Code, expected);
}

struct DiagnosticCase {
  const char *name;
  const char *body;
  std::vector<std::string> errors;
  bool ok;
};

class BuiltInDiagnostics : public ::testing::TestWithParam<DiagnosticCase> {};

TEST_P(BuiltInDiagnostics, Reports) {
  const DiagnosticCase &c = GetParam();
  const TCompiled compiled = CompileBody(c.body);
  EXPECT_EQ(compiled.Errors, c.errors) << c.body;
  EXPECT_EQ(compiled.Ok, c.ok) << c.body;
}

// The body is line 5.
const DiagnosticCase Diagnostics[] = {
    {"WritelnWithoutArgument", "WRITELN;",
     {"[Error] t.pas(5): The numbers of actual and formal parameters differ"}, false},
    {"WriteOfAnInteger", "WRITE(5);",
     {"[Error] t.pas(5): Types of formal and actual parameters differ"}, false},
    {"WriteOfTwoStrings", "WRITE('a', 'b');",
     {"[Error] t.pas(5): The numbers of actual and formal parameters differ"}, false},
    {"SinOfAString", "r := SIN('a');",
     {"[Error] t.pas(5): Types of formal and actual parameters differ"}, false},
    {"SinOfAnIntegerConstantHints", "r := SIN(0);",
     {"[Hint] t.pas(5): Converting Integer to Real"}, true},
    {"HaltWithAnArgument", "HALT(1);",
     {"[Error] t.pas(5): The numbers of actual and formal parameters differ"}, false},
    {"ReadLnOfTwoVariables", "READLN(i, r);", {"[Error] t.pas(5): ) missing"}, false},
    {"ReadLnOfABoolean", "READLN(b);", {"[Error] t.pas(5): Wrong type"}, false},
    {"ReadLnOfAnArray", "READLN(v);", {"[Error] t.pas(5): Wrong type"}, false},
    {"ReadLnOfAConstant", "READLN(5);", {"[Error] t.pas(5): Parameter expected"}, false},
    {"ReadIsRefused", "READ(i);",
     {"[Error] t.pas(5): READ is not supported, use READLN instead"}, false},
    {"SizeOfWithoutParentheses", "i := SIZEOF;", {"[Error] t.pas(5): Parameter expected"}, false},
    {"SizeOfOfALiteral", "i := SIZEOF(1);", {"[Error] t.pas(5): Parameter expected"}, false},
    {"SizeOfOfAnUndeclaredName", "i := SIZEOF(q);",
     {"[Error] t.pas(5): Undeclared variable: 'q'"}, false},
    {"IncOfAConstant", "INC(5);", {"[Error] t.pas(5): Identifier expected"}, false},
    {"IncOfAReal", "INC(r);",
     {"[Error] t.pas(5): Types of formal and actual var parameters must be equal"}, false},
    {"IncWithTwoArguments", "INC(i, 2);",
     {"[Error] t.pas(5): The numbers of actual and formal parameters differ"}, false},
    {"BooleanOfAnInteger", "b := BOOLEAN(1);", {"[Error] t.pas(5): Incompatible types"}, false},
    {"IntegerOfABoolean", "i := INTEGER(b);", {"[Error] t.pas(5): Incompatible types"}, false},
    {"StringOfAnInteger", "s := String(i);", {"[Error] t.pas(5): Incompatible types"}, false},
    {"ConversionWithoutParentheses", "i := Integer;",
     {"[Error] t.pas(5): Parameter expected for a type-conversion procedure"}, false},
    {"ConversionWithoutClosingParenthesis", "i := Integer(p p);",
     {"[Error] t.pas(5): ) expected"}, false},
    {"ConversionOfAnUndeclaredVariable", "i := Integer(u);",
     {"[Error] t.pas(5): Undeclared variable: 'u'"}, false},
    {"RealConversionOfAnAlias", "r := REAL(i);", {}, true},
    {"ProcedureValueUsed", "i := WRITELN('a');",
     {"[Error] t.pas(5): Procedures do not return values"}, false},
};
INSTANTIATE_TEST_SUITE_P(BuiltIns, BuiltInDiagnostics, ::testing::ValuesIn(Diagnostics),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(BuiltInDiagnostics, ConversionThroughATypeAlias) {
  const TCompiled c = CompileSource(
      "PROGRAM t;\nTYPE Float = Real;\nVAR x: Float;\nBEGIN\nx := Float(2)\nEND.\n");
  EXPECT_TRUE(c.Ok) << ::testing::PrintToString(c.Errors);
  EXPECT_EQ(BodyCode(c), (Code{"PushMP", "IncInt 12", "PushInt 2", "IntToReal", "Sto 8"}));
}

struct RunCase {
  const char *name;
  const char *source;
  const char *input;
  const char *output;
  const char *error;
};

class BuiltInRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(BuiltInRun, Behaves) {
  const RunCase &c = GetParam();
  const TCompiled compiled = CompileSource(c.source);
  ASSERT_TRUE(compiled.Ok) << ::testing::PrintToString(compiled.Errors);
  TMemoryConsole console(c.input, false);
  TUVCInterpreter machine(&console);
  machine.LoadProgram(compiled.Program);
  std::string error;
  try {
    machine.Run();
  } catch (const ERunError &e) {
    error = e.what();
  }
  EXPECT_EQ(console.Output, c.output);
  EXPECT_EQ(error, c.error);
}

const RunCase Runs[] = {
    {"WriteAndWriteLn", "BEGIN WRITE('a'); WRITE('b'); WRITELN('c'); WRITELN('') END.", "",
     "abc\r\n\r\n", ""},
    {"ReadLnOfEveryKind",
     "VAR i: Integer; r: Real; s: String;\n"
     "BEGIN READLN(i); READLN; READLN(r); READLN(s);\n"
     "WRITELN(INTTOSTR(i + 1) + ' ' + FLOATTOSTR(r * 2) + ' ' + s) END.",
     "41\nskipped\n1.25\nhello\n", "42 2.5 hello\r\n", ""},
    {"IncAndDec",
     "VAR i: Integer; BEGIN i := 5; INC(i); INC(i); DEC(i); WRITELN(INTTOSTR(i)) END.", "",
     "6\r\n", ""},
    {"RoundAtRunTime",
     "VAR r: Real; BEGIN r := 2.5; WRITELN(INTTOSTR(ROUND(r)) + INTTOSTR(ROUND(r + 1))) END.", "",
     "24\r\n", ""},
    {"RoundOfAHugeConstantFailsAtRunTime", "VAR i: Integer; BEGIN i := ROUND(1E300) END.", "",
     "", "Invalid floating point operation"},
    {"RandomOfOneIsZero", "BEGIN WRITELN(INTTOSTR(RANDOM(1))) END.", "", "0\r\n", ""},
    {"RealFunctions",
     "VAR x: Real; BEGIN x := 0; WRITELN(FLOATTOSTR(SIN(x) + COS(x) + ARCTAN(x))) END.", "",
     "1\r\n", ""},
    {"FoldedAndRunTimeSineAgree",
     "VAR x: Real; BEGIN x := 1E19; WRITELN(FLOATTOSTR(SIN(x)) + ' ' + FLOATTOSTR(SIN(1E19)) + ' ' +\n"
     "FLOATTOSTR(COS(x) - COS(1E19))) END.",
     "", "0 0 0\r\n", ""},
    {"OddAtRunTime",
     "VAR i: Integer; BEGIN i := -3; IF ODD(i) AND NOT ODD(i + 1) THEN WRITELN('odd') END.", "",
     "odd\r\n", ""},
    {"ConversionsAtRunTime",
     "VAR i: Integer; p: ^Integer; BEGIN i := 7; p := @i; p^ := 9;\n"
     "WRITELN(FLOATTOSTR(REAL(i) / 2) + ' ' + INTTOSTR(INTEGER(p) - INTEGER(@i))) END.",
     "", "4.5 0\r\n", ""},
    {"SizeOfAtRunTime",
     "TYPE R = RECORD a: Integer; b: Real END; VAR x: R;\n"
     "BEGIN WRITELN(INTTOSTR(SIZEOF(x) + SIZEOF(R))) END.",
     "", "24\r\n", ""},
};
INSTANTIATE_TEST_SUITE_P(BuiltIns, BuiltInRun, ::testing::ValuesIn(Runs),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
