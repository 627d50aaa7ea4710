// Procedures and functions: frames and call sequences (PushPC distance, static-link Derefs),
// FORWARD declarations, the diagnostics of headings, parameters and calls, and calls at run time.
#include <algorithm>

#include "CompileHelper.h"
#include "Errors.h"
#include "Interpreter.h"
#include "MemoryConsole.h"

namespace {

using Code = std::vector<std::string>;

struct ShapeCase {
  const char *name;
  const char *source;
  Code code;
};

class CallShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(CallShape, CompilesTo) {
  const ShapeCase &c = GetParam();
  const TCompiled compiled = CompileSource(c.source);
  EXPECT_EQ(compiled.Code, c.code) << c.source << ::testing::PrintToString(compiled.Errors);
}

const ShapeCase Shapes[] = {
    // a at 12, b at 16, c (an address) at 20, the local l at 24.
    {"ParametersAndLocalsOfAProcedure",
     "PROGRAM t;\nVAR r: Real;\n"
     "PROCEDURE P(a, b: Integer; VAR c: Real);\nVAR l: Integer;\n"
     "BEGIN l := a; c := b END;\n"
     "BEGIN P(1, 2, r) END.\n",
     {"Init", "Jump 18",
      "IncSP 4",                                                           // 2: P
      "PushMP", "IncInt 24", "PushMP", "IncInt 12", "Deref 4", "Sto 4",    // 3..8
      "PushMP", "IncInt 20", "Deref 4", "PushMP", "IncInt 16", "Deref 4",  // 9..14
      "IntToReal", "Sto 8", "Ret",                                         // 15..17
      "IncSP 8",                                                           // 18: main
      "PushMP", "PushMP", "PushPC 7", "PushInt 1", "PushInt 2", "PushMP", "IncInt 12",
      "SetMP 23", "Jump 2", "Ret"}},
    // Result and the function's name both reach offset -4; x is at 12.
    {"FunctionResultAndRealParameter",
     "PROGRAM t;\nVAR i: Integer;\n"
     "FUNCTION F(x: Real): Integer;\n"
     "BEGIN Result := ROUND(x); F := 2 END;\n"
     "BEGIN i := F(1) END.\n",
     {"Init", "Jump 14",
      "PushMP", "IncInt -4", "PushMP", "IncInt 12", "Deref 8", "Round", "Sto 4",  // 2..8
      "PushMP", "IncInt -4", "PushInt 2", "Sto 4", "Ret",                          // 9..13
      "IncSP 4",                                                                   // 14
      "PushMP", "IncInt 12", "IncSP 4", "PushMP", "PushMP", "PushPC 4", "PushReal 1",
      "SetMP 19", "Jump 2", "Sto 4", "Ret"}},
    // Calls from C: A is three levels out, B two, C itself (recursion) one.
    {"StaticLinksAcrossLevels",
     "PROGRAM t;\n"
     "PROCEDURE A;\n"
     "  PROCEDURE B;\n"
     "    PROCEDURE C;\n"
     "    BEGIN A; B; C END;\n"
     "  BEGIN C END;\n"
     "BEGIN B END;\n"
     "BEGIN A END.\n",
     {"Init", "Jump 38",
      "Jump 32",                                                                   // 2: A
      "Jump 26",                                                                   // 3: B
      "PushMP", "Deref 4", "Deref 4", "Deref 4", "PushMP", "PushPC 3", "SetMP 11",  // 4: C
      "Jump 2",
      "PushMP", "Deref 4", "Deref 4", "PushMP", "PushPC 3", "SetMP 11", "Jump 3",   // 12
      "PushMP", "Deref 4", "PushMP", "PushPC 3", "SetMP 11", "Jump 4", "Ret",       // 19..25
      "PushMP", "PushMP", "PushPC 3", "SetMP 11", "Jump 4", "Ret",                  // 26: B body
      "PushMP", "PushMP", "PushPC 3", "SetMP 11", "Jump 3", "Ret",                  // 32: A body
      "PushMP", "PushMP", "PushPC 3", "SetMP 11", "Jump 2", "Ret"}},                // 38: main
    {"ForwardDeclarationThenBody",
     "PROGRAM t;\n"
     "PROCEDURE P; FORWARD;\n"
     "PROCEDURE Q; BEGIN P END;\n"
     "PROCEDURE P; BEGIN END;\n"
     "BEGIN Q END.\n",
     {"Init", "Jump 10",
      "PushMP", "Deref 4", "PushMP", "PushPC 3", "SetMP 11", "Jump 9", "Ret",  // 2: Q
      "Ret",                                                                   // 9: P
      "PushMP", "PushMP", "PushPC 3", "SetMP 11", "Jump 2", "Ret"}},
    {"ForwardRoutineWithoutBodyJumpsNowhere",
     "PROGRAM t;\nPROCEDURE P; FORWARD;\nBEGIN P END.\n",
     {"Init", "PushMP", "PushMP", "PushPC 3", "SetMP 11", "Jump -1", "Ret"}},
    {"StringResultAndFunctionAsStatement",
     "PROGRAM t;\nFUNCTION S(a: String): String; BEGIN S := a END;\nBEGIN S('x') END.\n",
     {"Init", "Jump 9",
      "PushMP", "IncInt -256", "PushMP", "IncInt 12", "Deref 256", "Sto 256", "Ret",
      "IncSP 256", "PushMP", "PushMP", "PushPC 4", "PushStr 'x'", "SetMP 267", "Jump 2",
      "IncSP -256", "Ret"}},
};
INSTANTIATE_TEST_SUITE_P(Procedures, CallShape, ::testing::ValuesIn(Shapes),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CallShape, SurplusArgumentsAreSkippedUpToTheClosingParenthesis) {
  const TCompiled c = CompileSource(
      "PROGRAM t;\nPROCEDURE P(a: Integer); BEGIN END;\n"
      "BEGIN\nP(1, (2 + 3) * 4);\nP(5)\nEND.\n");
  EXPECT_EQ(c.Errors, Code{"[Error] t.pas(4): The numbers of actual and formal parameters differ"});
  const Code expected = {"Init", "Jump 3", "Ret",
                         "PushMP", "PushMP", "PushPC 4", "PushInt 1", "SetMP 15", "Jump 2",
                         "PushMP", "PushMP", "PushPC 4", "PushInt 5", "SetMP 15", "Jump 2", "Ret"};
  EXPECT_EQ(c.Code, expected);
}

TEST(CallShape, HugeParameterSizesDoNotOverflow) {
  const TCompiled c = CompileSource(
      "TYPE Big = ARRAY[1..2147483647] OF String;\n"
      "PROCEDURE P(a: Big; b: Big; VAR c: Integer); BEGIN END;\n"
      "VAR i: Integer;\nBEGIN P(i, i, i) END.\n");
  EXPECT_FALSE(c.Ok);  // the arguments are Integers, not Bigs
  EXPECT_NE(std::find(c.Code.begin(), c.Code.end(), "SetMP -2147483638"), c.Code.end());
}

TEST(CallShape, DeeplyNestedDeclarationsEndInParsingError) {
  std::string source = "PROGRAM t;\n";
  for (int i = 0; i < 5000; ++i) source += "PROCEDURE P" + std::to_string(i) + ";\n";
  for (int i = 0; i < 5000; ++i) source += "BEGIN END;\n";
  source += "BEGIN END.\n";
  const TCompiled c = CompileSource(source);
  EXPECT_FALSE(c.Ok);
  ASSERT_EQ(c.Errors.size(), 1u);
  EXPECT_NE(c.Errors[0].find("): Parsing error"), std::string::npos) << c.Errors[0];
}

struct DiagnosticCase {
  const char *name;
  const char *source;
  std::vector<std::string> errors;
  bool ok;
};

class ProcedureDiagnostics : public ::testing::TestWithParam<DiagnosticCase> {};

TEST_P(ProcedureDiagnostics, Reports) {
  const DiagnosticCase &c = GetParam();
  const TCompiled compiled = CompileSource(c.source);
  EXPECT_EQ(compiled.Errors, c.errors) << c.source;
  EXPECT_EQ(compiled.Ok, c.ok) << c.source;
}

const DiagnosticCase Diagnostics[] = {
    {"ForwardWithoutBodyIsNoError", "PROCEDURE P; FORWARD;\nBEGIN END.\n", {}, true},
    {"ForwardHeadingRepeatedWithAnotherName",
     "PROCEDURE P(a: Integer); FORWARD;\nPROCEDURE P(b: Integer);\nBEGIN END;\nBEGIN END.\n",
     {"[Error] t.pas(3): Previous declaration differs from the new one"}, false},
    {"ForwardHeadingRepeatedWithAnotherType",
     "PROCEDURE P(a: Integer); FORWARD;\nPROCEDURE P(a: Real);\nBEGIN END;\nBEGIN END.\n",
     {"[Error] t.pas(3): Previous declaration differs from the new one"}, false},
    {"ForwardHeadingRepeatedWithVar",
     "PROCEDURE P(a: Integer); FORWARD;\nPROCEDURE P(VAR a: Integer);\nBEGIN END;\nBEGIN END.\n",
     {"[Error] t.pas(3): Previous declaration differs from the new one"}, false},
    {"ForwardHeadingRepeatedWithFewerParameters",
     "PROCEDURE P(a: Integer); FORWARD;\nPROCEDURE P;\nBEGIN END;\nBEGIN END.\n",
     {"[Error] t.pas(3): Previous declaration differs from the new one"}, false},
    {"ForwardFunctionWithAnotherResultType",
     "FUNCTION F: Integer; FORWARD;\nFUNCTION F: Real;\nBEGIN END;\nBEGIN END.\n",
     {"[Error] t.pas(3): Previous declaration differs from the new one"}, false},
    {"ForwardHeadingRepeatedInOtherCase",
     "PROCEDURE P(a: Integer); FORWARD;\nPROCEDURE p(A: INTEGER); BEGIN END;\nBEGIN P(1) END.\n",
     {}, true},
    {"BodyDeclaredTwice",
     "PROCEDURE P; BEGIN END;\nPROCEDURE P;\nBEGIN END;\nBEGIN END.\n",
     {"[Error] t.pas(3): Identifier redeclared: 'P'"}, false},
    {"NameTakenByAVariable",
     "VAR P: Integer;\nPROCEDURE P;\nBEGIN END;\nBEGIN END.\n",
     {"[Error] t.pas(3): Identifier redeclared: 'P'"}, false},
    {"ParameterNamedResult",
     "FUNCTION F(result: Integer): Integer;\nBEGIN END;\nBEGIN END.\n",
     {"[Error] t.pas(2): Invalid procedure declaration"}, false},
    {"ProcedureMayHaveAParameterNamedResult",
     "PROCEDURE P(result: Integer); BEGIN END;\nBEGIN END.\n", {}, true},
    {"RepeatedParameterName",
     "PROCEDURE P(a, A: Integer);\nBEGIN END;\nBEGIN END.\n",
     {"[Error] t.pas(2): Invalid procedure declaration"}, false},
    {"MissingProcedureName",
     "PROCEDURE ;\nBEGIN END.\n", {"[Error] t.pas(1): Identifier expected"}, false},
    {"UnknownResultType",
     "FUNCTION F: Foo;\nBEGIN END.\n", {"[Error] t.pas(1): Incorrect type declaration"}, false},
    {"MissingResultType",
     "FUNCTION F;\nBEGIN END.\n", {"[Error] t.pas(1): : missing"}, false},
    {"MissingParameterName",
     "PROCEDURE P(a, : Integer);\nBEGIN END;\nBEGIN END.\n",
     {"[Error] t.pas(1): Syntax error in parameter declaration"}, false},
    {"UnknownParameterType",
     "PROCEDURE P(a: Foo);\nBEGIN END;\nBEGIN END.\n",
     {"[Error] t.pas(1): Type identifier expected"}, false},
    {"EmptyParameterListIsAccepted", "PROCEDURE P();\nBEGIN END;\nBEGIN P() END.\n", {}, true},
    {"TooManyArguments",
     "PROCEDURE P(a: Integer); BEGIN END;\nBEGIN\nP(1, 2)\nEND.\n",
     {"[Error] t.pas(3): The numbers of actual and formal parameters differ"}, false},
    {"EmptyArgumentListForAParameter",
     "PROCEDURE P(a: Integer); BEGIN END;\nBEGIN\nP()\nEND.\n",
     {"[Error] t.pas(4): The numbers of actual and formal parameters differ"}, false},
    {"NoArgumentListForAParameter",
     "PROCEDURE P(a: Integer); BEGIN END;\nBEGIN\nP;\nEND.\n",
     {"[Error] t.pas(3): The numbers of actual and formal parameters differ"}, false},
    {"VarArgumentOfAnotherType",
     "PROCEDURE P(VAR a: Integer); BEGIN END;\nVAR r: Real;\nBEGIN\nP(r)\nEND.\n",
     {"[Error] t.pas(4): Types of formal and actual var parameters must be equal"}, false},
    {"VarArgumentOfAnAliasType",
     "TYPE Int = Integer;\nPROCEDURE P(VAR a: Int); BEGIN END;\nVAR i: Integer;\nBEGIN\nP(i)\nEND.\n",
     {}, true},
    {"VarArgumentThatIsNoVariable",
     "PROCEDURE P(VAR a: Integer); BEGIN END;\nBEGIN\nP(1)\nEND.\n",
     {"[Error] t.pas(3): Identifier expected"}, false},
    {"ValueArgumentOfAnotherTypeOfEqualSize",
     "PROCEDURE P(a: Integer); BEGIN END;\nVAR q: ^Integer;\nBEGIN\nP(q)\nEND.\n",
     {"[Warning] t.pas(4): Types of formal and actual parameters differ"}, true},
    {"ValueArgumentOfAnotherSize",
     "PROCEDURE P(a: Integer); BEGIN END;\nBEGIN\nP('s')\nEND.\n",
     {"[Error] t.pas(3): Types of formal and actual parameters differ"}, false},
    {"IntegerArgumentForARealParameter",
     "PROCEDURE P(a: Real); BEGIN END;\nBEGIN\nP(1)\nEND.\n",
     {"[Hint] t.pas(3): Converting Integer to Real"}, true},
    {"UndeclaredRoutine",
     "BEGIN\nQ(1)\nEND.\n", {"[Error] t.pas(2): Undeclared identifier: 'Q'"}, false},
    {"ProcedureInAnExpression",
     "PROCEDURE P; BEGIN END;\nVAR i: Integer;\nBEGIN\ni := P + 1;\nEND.\n",
     {"[Error] t.pas(4): Procedures do not return values"}, false},
};
INSTANTIATE_TEST_SUITE_P(Procedures, ProcedureDiagnostics, ::testing::ValuesIn(Diagnostics),
                         [](const auto &info) { return std::string(info.param.name); });

struct RunCase {
  const char *name;
  const char *source;
  const char *output;
};

class ProcedureRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(ProcedureRun, Prints) {
  const RunCase &c = GetParam();
  const TRun run = RunProgram(c.source);
  EXPECT_EQ(run.Error, "");
  EXPECT_EQ(run.Output, c.output);
}

const RunCase Runs[] = {
    {"RecursiveFunction",
     "FUNCTION Fact(n: Integer): Integer;\n"
     "BEGIN IF n <= 1 THEN Fact := 1 ELSE Fact := n * Fact(n - 1) END;\n"
     "BEGIN WRITELN(INTTOSTR(Fact(10))) END.",
     "3628800\r\n"},
    {"VarParametersSwap",
     "VAR x, y: Integer;\n"
     "PROCEDURE Swap(VAR a, b: Integer); VAR t: Integer; BEGIN t := a; a := b; b := t END;\n"
     "BEGIN x := 1; y := 2; Swap(x, y); WRITELN(INTTOSTR(x) + ' ' + INTTOSTR(y)) END.",
     "2 1\r\n"},
    {"VarParameterPassedOn",
     "VAR x: Integer;\n"
     "PROCEDURE Inner(VAR a: Integer); BEGIN a := a + 10 END;\n"
     "PROCEDURE Outer(VAR a: Integer); BEGIN Inner(a); a := a * 2 END;\n"
     "BEGIN x := 1; Outer(x); WRITELN(INTTOSTR(x)) END.",
     "22\r\n"},
    {"StaticLinkReachesTheRightFrame",
     "PROCEDURE Outer(n: Integer);\n"
     "  PROCEDURE Show; BEGIN WRITELN(INTTOSTR(n)) END;\n"
     "BEGIN IF n > 0 THEN BEGIN Outer(n - 1); Show END END;\n"
     "BEGIN Outer(3) END.",
     "1\r\n2\r\n3\r\n"},
    {"NestedProcedureChangesAnOuterLocal",
     "PROCEDURE Outer; VAR k: Integer;\n"
     "  PROCEDURE Inner; BEGIN k := k + 1 END;\n"
     "BEGIN k := 0; Inner; Inner; WRITELN(INTTOSTR(k)) END;\n"
     "BEGIN Outer END.",
     "2\r\n"},
    {"ResultAndRealArgument",
     "FUNCTION Half(x: Real): Real; BEGIN Result := x / 2 END;\n"
     "BEGIN WRITELN(FLOATTOSTR(Half(3))) END.",
     "1.5\r\n"},
    {"StringFunction",
     "FUNCTION Twice(s: String): String; BEGIN Twice := s + s END;\n"
     "BEGIN WRITELN(Twice('ab')) END.",
     "abab\r\n"},
    {"FunctionAsStatementLeavesNothing",
     "VAR i, k: Integer;\nFUNCTION F: Integer; BEGIN F := 7 END;\n"
     "BEGIN k := 0; FOR i := 1 TO 3 DO BEGIN F; k := k + 1 END; WRITELN(INTTOSTR(k)) END.",
     "3\r\n"},
    {"ExitReturnsFromAProcedure",
     "PROCEDURE P; BEGIN WRITELN('a'); EXIT; WRITELN('b') END;\nBEGIN P; WRITELN('c') END.",
     "a\r\nc\r\n"},
    {"MutualRecursionThroughForward",
     "FUNCTION IsEven(n: Integer): Boolean; FORWARD;\n"
     "FUNCTION IsOdd(n: Integer): Boolean;\n"
     "BEGIN IF n = 0 THEN IsOdd := FALSE ELSE IsOdd := IsEven(n - 1) END;\n"
     "FUNCTION IsEven(n: Integer): Boolean;\n"
     "BEGIN IF n = 0 THEN IsEven := TRUE ELSE IsEven := IsOdd(n - 1) END;\n"
     "BEGIN IF IsEven(10) AND IsOdd(7) THEN WRITELN('yes') END.",
     "yes\r\n"},
    // Its calls jump to -1, which ends the run like the main program's return.
    {"UncompletedForwardRoutineEndsTheRun",
     "PROCEDURE P; FORWARD;\nBEGIN WRITELN('before'); P; WRITELN('after') END.",
     "before\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Procedures, ProcedureRun, ::testing::ValuesIn(Runs),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
