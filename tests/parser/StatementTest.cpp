// Statements: the code shapes of assignment, IF, WHILE, REPEAT, FOR, GOTO and labels with their
// jump targets, the pruning of constant conditions, the diagnostics of every error path, and
// how the loops behave when the compiled program runs.
#include "CompileHelper.h"
#include "Errors.h"
#include "Interpreter.h"
#include "MemoryConsole.h"

namespace {

using Code = std::vector<std::string>;

struct ShapeCase {
  const char *name;
  const char *body;  // statements of the main program
  Code code;         // the whole program, jumps resolved
};

// x at 12, y at 16, b at 20, r at 21, p at 29, i at 33.
const char *const Globals = "PROGRAM t;\nLABEL L, M;\nVAR x, y: Integer; b: Boolean; r: Real; p: ^Integer; i: Integer;\n";

class StatementShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(StatementShape, CompilesTo) {
  const ShapeCase &c = GetParam();
  const std::string source = std::string(Globals) + "BEGIN\n" + c.body + "\nEND.\n";
  const TCompiled compiled = CompileSource(source);
  EXPECT_EQ(compiled.Code, c.code) << source << ::testing::PrintToString(compiled.Errors);
}

// Instruction 0 is Init, 1 is IncSP 25 (the globals); statements begin at 2.
const ShapeCase Shapes[] = {
    {"EmptyCompound", "", {"Init", "IncSP 25", "Ret"}},
    {"NestedEmptyCompounds", "BEGIN BEGIN END; ; END", {"Init", "IncSP 25", "Ret"}},
    {"Assignment", "x := 1", {"Init", "IncSP 25", "PushMP", "IncInt 12", "PushInt 1", "Sto 4", "Ret"}},
    {"IntegerToRealAssignment", "r := 3",
     {"Init", "IncSP 25", "PushMP", "IncInt 21", "PushInt 3", "IntToReal", "Sto 8", "Ret"}},
    {"PointerFromIntegerIsStoredAsIs", "p := x",
     {"Init", "IncSP 25", "PushMP", "IncInt 29", "PushMP", "IncInt 12", "Deref 4", "Sto 4", "Ret"}},
    {"IfThenElse", "IF b THEN x := 1 ELSE x := 2",
     {"Init", "IncSP 25", "PushMP", "IncInt 20", "Deref 1", "JifF 11",        // 2..5
      "PushMP", "IncInt 12", "PushInt 1", "Sto 4", "Jump 15",                  // 6..10
      "PushMP", "IncInt 12", "PushInt 2", "Sto 4", "Ret"}},                    // 11..15
    {"IfThenWithoutElse", "IF b THEN x := 1",
     {"Init", "IncSP 25", "PushMP", "IncInt 20", "Deref 1", "JifF 10", "PushMP", "IncInt 12",
      "PushInt 1", "Sto 4", "Ret"}},
    {"IfTrueKeepsOnlyTheThenBranch", "IF TRUE THEN x := 1 ELSE x := 2",
     {"Init", "IncSP 25", "PushMP", "IncInt 12", "PushInt 1", "Sto 4", "Ret"}},
    {"IfFalseKeepsOnlyTheElseBranch", "IF 1 > 2 THEN x := 1 ELSE x := 2",
     {"Init", "IncSP 25", "PushMP", "IncInt 12", "PushInt 2", "Sto 4", "Ret"}},
    {"IfFalseWithoutElseEmitsNothing", "IF FALSE THEN x := 1", {"Init", "IncSP 25", "Ret"}},
    {"While", "WHILE b DO x := 1",
     {"Init", "IncSP 25", "PushMP", "IncInt 20", "Deref 1", "JifF 11", "PushMP", "IncInt 12",
      "PushInt 1", "Sto 4", "Jump 2", "Ret"}},
    {"WhileFalseEmitsNothing", "WHILE FALSE DO x := 1", {"Init", "IncSP 25", "Ret"}},
    {"WhileTrueJumpsBackToTheBody", "WHILE TRUE DO x := 1",
     {"Init", "IncSP 25", "PushMP", "IncInt 12", "PushInt 1", "Sto 4", "Jump 2", "Ret"}},
    {"Repeat", "REPEAT x := 1 UNTIL b",
     {"Init", "IncSP 25", "PushMP", "IncInt 12", "PushInt 1", "Sto 4", "PushMP", "IncInt 20",
      "Deref 1", "JifF 2", "Ret"}},
    {"RepeatUntilTrueRunsTheBodyOnce", "REPEAT x := 1 UNTIL TRUE",
     {"Init", "IncSP 25", "PushMP", "IncInt 12", "PushInt 1", "Sto 4", "Ret"}},
    {"RepeatUntilFalseLoops", "REPEAT x := 1; y := 2 UNTIL FALSE",
     {"Init", "IncSP 25", "PushMP", "IncInt 12", "PushInt 1", "Sto 4", "PushMP", "IncInt 16",
      "PushInt 2", "Sto 4", "Jump 2", "Ret"}},
    {"RepeatWithEmptyBody", "REPEAT UNTIL b",
     {"Init", "IncSP 25", "PushMP", "IncInt 20", "Deref 1", "JifF 2", "Ret"}},
    {"ForTo", "FOR i := 1 TO 10 DO x := i",
     {"Init", "IncSP 25",
      "PushMP", "IncInt 33", "PushInt 1", "Sto 4", "PushInt 10",                  // 2..6
      "Dup 4", "PushMP", "IncInt 33", "Deref 4", "GE Int", "JifF 27",             // 7..12 test
      "PushMP", "IncInt 12", "PushMP", "IncInt 33", "Deref 4", "Sto 4",           // 13..18 body
      "PushMP", "IncInt 33", "PushMP", "IncInt 33", "Deref 4", "IncInt 1",        // 19..24
      "Sto 4", "Jump 7", "IncSP -4", "Ret"}},                                      // 25..28
    {"ForDownto", "FOR i := x DOWNTO 1 DO",
     {"Init", "IncSP 25",
      "PushMP", "IncInt 33", "PushMP", "IncInt 12", "Deref 4", "Sto 4", "PushInt 1",  // 2..8
      "Dup 4", "PushMP", "IncInt 33", "Deref 4", "LE Int", "JifF 23",                 // 9..14
      "PushMP", "IncInt 33", "PushMP", "IncInt 33", "Deref 4", "IncInt -1", "Sto 4",  // 15..21
      "Jump 9", "IncSP -4", "Ret"}},                                                   // 22..24
    {"BreakInForLandsOnTheDropOfTheLimit", "FOR i := 1 TO 2 DO BREAK",
     {"Init", "IncSP 25", "PushMP", "IncInt 33", "PushInt 1", "Sto 4", "PushInt 2",
      "Dup 4", "PushMP", "IncInt 33", "Deref 4", "GE Int", "JifF 22",               // 7..12
      "Jump 22",                                                                    // 13
      "PushMP", "IncInt 33", "PushMP", "IncInt 33", "Deref 4", "IncInt 1", "Sto 4",  // 14..20
      "Jump 7", "IncSP -4", "Ret"}},
    {"ContinueInForGoesToTheIncrement", "FOR i := 1 TO 2 DO CONTINUE",
     {"Init", "IncSP 25", "PushMP", "IncInt 33", "PushInt 1", "Sto 4", "PushInt 2",
      "Dup 4", "PushMP", "IncInt 33", "Deref 4", "GE Int", "JifF 22",
      "Jump 14",
      "PushMP", "IncInt 33", "PushMP", "IncInt 33", "Deref 4", "IncInt 1", "Sto 4",
      "Jump 7", "IncSP -4", "Ret"}},
    {"ContinueInWhileGoesToTheCondition", "WHILE b DO CONTINUE",
     {"Init", "IncSP 25", "PushMP", "IncInt 20", "Deref 1", "JifF 8", "Jump 2", "Jump 2", "Ret"}},
    {"ContinueInRepeatGoesToTheBodyNotTheCondition", "REPEAT x := 1; CONTINUE UNTIL b",
     {"Init", "IncSP 25", "PushMP", "IncInt 12", "PushInt 1", "Sto 4", "Jump 2", "PushMP",
      "IncInt 20", "Deref 1", "JifF 2", "Ret"}},
    {"BreakInRepeatLeavesAfterTheCondition", "REPEAT BREAK UNTIL b",
     {"Init", "IncSP 25", "Jump 7", "PushMP", "IncInt 20", "Deref 1", "JifF 2", "Ret"}},
    {"BreakRefersToTheInnermostLoop", "WHILE b DO REPEAT BREAK UNTIL FALSE",
     {"Init", "IncSP 25", "PushMP", "IncInt 20", "Deref 1", "JifF 9", "Jump 8", "Jump 6",
      "Jump 2", "Ret"}},
};
INSTANTIATE_TEST_SUITE_P(Statements, StatementShape, ::testing::ValuesIn(Shapes),
                         [](const auto &info) { return std::string(info.param.name); });

const ShapeCase LabelShapes[] = {
    {"GotoBackward", "L: x := 1; GOTO L",
     {"Init", "IncSP 25", "PushMP", "IncInt 12", "PushInt 1", "Sto 4", "Jump 2", "Ret"}},
    {"GotoForward", "GOTO L; x := 1; L: ",
     {"Init", "IncSP 25", "Jump 7", "PushMP", "IncInt 12", "PushInt 1", "Sto 4", "Ret"}},
    {"SeveralLabelsOnOneStatement", "GOTO L; L: M: x := 1; GOTO M",
     {"Init", "IncSP 25", "Jump 3", "PushMP", "IncInt 12", "PushInt 1", "Sto 4", "Jump 3", "Ret"}},
    // The label in the dropped branch denotes where that code began: the next assignment.
    {"LabelInDroppedCode", "GOTO L; IF FALSE THEN BEGIN x := 1; L: y := 2 END; x := 3",
     {"Init", "IncSP 25", "Jump 3", "PushMP", "IncInt 12", "PushInt 3", "Sto 4", "Ret"}},
};
INSTANTIATE_TEST_SUITE_P(Labels, StatementShape, ::testing::ValuesIn(LabelShapes),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(StatementShape, LabelOfTheLabelSectionIsPlacedByItsPrefix) {
  const TCompiled c = CompileSource(
      "PROGRAM t; LABEL L; VAR x: Integer;\nBEGIN\nGOTO L;\nx := 1;\nL: x := 2\nEND.\n");
  EXPECT_TRUE(c.Ok);
  EXPECT_TRUE(c.Errors.empty()) << ::testing::PrintToString(c.Errors);
  EXPECT_EQ(c.Code.at(2), "Jump 7");
}

TEST(StatementShape, CallsAsStatements) {
  const TCompiled c = CompileSource(
      "PROGRAM t;\nVAR x: Integer;\n"
      "FUNCTION F: Integer; BEGIN F := 1 END;\n"
      "PROCEDURE P; BEGIN END;\n"
      "BEGIN\nF;\nP;\nRANDOM(6);\nODD(x)\nEND.\n");
  ASSERT_TRUE(c.Ok) << ::testing::PrintToString(c.Errors);
  // Body of the main program from the IncSP of the globals on.
  const Code body(c.Code.begin() + 8, c.Code.end());
  const Code expected = {
      "IncSP 4",                                                                 // 12
      "IncSP 4", "PushMP", "PushMP", "PushPC 3", "SetMP 11", "Jump 2", "IncSP -4",  // F
      "PushMP", "PushMP", "PushPC 3", "SetMP 11", "Jump 7",                         // P
      "PushInt 6", "Random 0", "IncSP -4",                                             // RANDOM(6)
      "PushMP", "IncInt 12", "Deref 4", "Odd 0", "IncSP -1",                           // ODD(x)
      "Ret"};
  EXPECT_EQ(body, expected);
}

struct DiagnosticCase {
  const char *name;
  const char *source;
  std::vector<std::string> errors;
  bool ok;
};

class StatementDiagnostics : public ::testing::TestWithParam<DiagnosticCase> {};

TEST_P(StatementDiagnostics, Reports) {
  const DiagnosticCase &c = GetParam();
  const TCompiled compiled = CompileSource(c.source);
  EXPECT_EQ(compiled.Errors, c.errors) << c.source;
  EXPECT_EQ(compiled.Ok, c.ok) << c.source;
}

const DiagnosticCase Diagnostics[] = {
    {"MissingSemicolonBetweenStatements",
     "VAR a, b: Integer;\nBEGIN\na := 1\nb := 2\nEND.\n",
     {"[Error] t.pas(4): ; missing"}, false},
    {"ForWithoutSemicolonEndsTheSequence",
     "VAR a, i: Integer;\nBEGIN\na := 1\nFOR i := 1 TO 2 DO a := i\nEND.\n",
     {"[Error] t.pas(4): Unexpected FOR"}, false},
    {"IllegalAssignmentOfRealToInteger",
     "VAR i: Integer;\nBEGIN\ni := 3.5;\nEND.\n",
     {"[Error] t.pas(3): Illegal assignment"}, false},
    {"IntegerConvertedToReal",
     "VAR r: Real;\nBEGIN\nr := 3;\nEND.\n",
     {"[Hint] t.pas(3): Integer converted to Real"}, true},
    {"DifferentTypesOfEqualSize",
     "VAR p: ^Integer; i: Integer;\nBEGIN\np := i;\nEND.\n",
     {"[Warning] t.pas(3): The type of the left part of an assignment differs from the type of "
      "the expression to be assigned"},
     true},
    {"ValueOfUnknownType",
     "PROCEDURE P; BEGIN END;\nVAR i: Integer;\nBEGIN\ni := P;\nEND.\n",
     {"[Error] t.pas(4): Procedures do not return values"}, false},
    {"TargetOfUnknownType",
     "VAR i: Integer;\nBEGIN\nq := i;\nEND.\n",
     {"[Error] t.pas(3): Undeclared variable: 'q'"}, false},
    {"ProcedureNameBeforeTheNextLinesIdentifier",
     "PROCEDURE P; BEGIN END;\nVAR i: Integer;\nBEGIN\nP\ni := 1\nEND.\n",
     {"[Error] t.pas(5): Undeclared variable: 'P'"}, false},
    {"GotoToAnUndeclaredLabel",
     "BEGIN\nGOTO Nowhere\nEND.\n",
     {"[Error] t.pas(3): Label not declared: 'Nowhere'"}, false},
    {"GotoBeforeTheLabelPrefixDeclaresIt",
     "BEGIN\nGOTO L;\nL: ;\nGOTO L\nEND.\n",
     {"[Error] t.pas(2): Label not declared: 'L'", "[Warning] t.pas(3): Label 'L' not declared"},
     false},
    {"GotoWithoutLabel",
     "BEGIN\nGOTO ;\nEND.\n",
     {"[Error] t.pas(2): Incorrect GOTO-statement"}, false},
    {"LabelPlacedTwice",
     "LABEL L;\nBEGIN\nL: ;\nL: ;\nEND.\n",
     {"[Error] t.pas(4): Label already defined: 'L'"}, false},
    {"LabelPrefixOnAVariableName",
     "VAR x: Integer;\nBEGIN\nx: x := 1\nEND.\n",
     {"[Warning] t.pas(3): Label 'x' not declared", "[Error] t.pas(3): Identifier redeclared: 'x'"},
     false},
    {"IfConditionNotBoolean",
     "VAR x: Integer;\nBEGIN\nIF x THEN x := 1\nEND.\n",
     {"[Error] t.pas(3): Boolean type expected"}, false},
    {"WhileConditionNotBoolean",
     "VAR x: Integer;\nBEGIN\nWHILE 1 DO x := 1\nEND.\n",
     {"[Error] t.pas(3): Boolean type expected"}, false},
    {"RepeatConditionNotBoolean",
     "VAR x: Integer;\nBEGIN\nREPEAT x := 1 UNTIL x\nEND.\n",
     {"[Error] t.pas(4): Boolean type expected"}, false},
    {"MissingThen",
     "VAR x: Integer; b: Boolean;\nBEGIN\nIF b\nx := 1\nEND.\n",
     {"[Error] t.pas(4): THEN missing"}, false},
    {"ForWithoutIdentifier",
     "VAR x: Integer;\nBEGIN\nFOR 1 TO 2 DO x := 1\nEND.\n",
     {"[Error] t.pas(3): Incorrect FOR-statement"}, false},
    {"ForOverAnUndeclaredVariable",
     "VAR x: Integer;\nBEGIN\nFOR k := 1 TO 2 DO x := 1\nEND.\n",
     {"[Error] t.pas(3): Undeclared identifier: 'k'"}, false},
    {"ForOverARealVariable",
     "VAR r: Real;\nBEGIN\nFOR r := 1 TO 2 DO\nEND.\n",
     {"[Error] t.pas(3): Integer type expected"}, false},
    {"ForWithARealStart",
     "VAR i: Integer;\nBEGIN\nFOR i := 1.5 TO 2 DO\nEND.\n",
     {"[Error] t.pas(3): Integer type expected"}, false},
    {"ForWithABooleanLimit",
     "VAR i: Integer;\nBEGIN\nFOR i := 1 TO\nTRUE DO\nEND.\n",
     {"[Error] t.pas(4): Integer type expected"}, false},
    {"ForWithoutTo",
     "VAR i: Integer;\nBEGIN\nFOR i := 1\n2 DO\nEND.\n",
     {"[Error] t.pas(4): TO missing"}, false},
    {"BreakOutsideALoop", "BEGIN\nBREAK\nEND.\n", {"[Error] t.pas(3): Cannot BREAK here"}, false},
    {"ContinueAfterALoop",
     "VAR b: Boolean;\nBEGIN\nWHILE b DO ;\nCONTINUE\nEND.\n",
     {"[Error] t.pas(5): Cannot CONTINUE here"}, false},
    // The REPEAT sequence stops at a token that cannot go on with it instead of looping.
    {"RepeatWithoutUntil",
     "VAR x: Integer;\nBEGIN\nREPEAT x := 1\nEND.\n",
     {"[Error] t.pas(4): UNTIL missing"}, false},
    {"RepeatMissingSemicolon",
     "VAR x: Integer;\nBEGIN\nREPEAT x := 1\nx := 2\nUNTIL TRUE\nEND.\n",
     {"[Error] t.pas(4): ; missing"}, false},
    {"EndOfFileInsideRepeat",
     "VAR x: Integer;\nBEGIN\nREPEAT x := 1",
     {"[Error] t.pas(3): Unexpected end of file encountered"},
     false},
    {"DeadBranchIsStillChecked",
     "VAR x: Integer;\nBEGIN\nIF FALSE THEN\nx := 'a'\nEND.\n",
     {"[Error] t.pas(5): Illegal assignment"}, false},
};
INSTANTIATE_TEST_SUITE_P(Statements, StatementDiagnostics, ::testing::ValuesIn(Diagnostics),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(StatementNesting, DeepNestingEndsInParsingError) {
  std::string source = "BEGIN\n";
  for (int i = 0; i < 2000; ++i) source += "BEGIN ";
  for (int i = 0; i < 2000; ++i) source += "END ";
  source += "\nEND.\n";
  const TCompiled c = CompileSource(source);
  EXPECT_FALSE(c.Ok);
  ASSERT_FALSE(c.Errors.empty());
  EXPECT_EQ(c.Errors.back(), "[Error] t.pas(2): Parsing error");
}

struct RunCase {
  const char *name;
  const char *source;
  const char *output;
};

class StatementRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(StatementRun, Prints) {
  const RunCase &c = GetParam();
  const TRun run = RunProgram(c.source);
  EXPECT_EQ(run.Error, "");
  EXPECT_EQ(run.Output, c.output);
}

#define PRINT(e) "WRITELN(INTTOSTR(" e "))"

const RunCase Runs[] = {
    {"ForRunsThreeTimesAndLeavesLimitPlusOne",
     "VAR i, n: Integer; BEGIN n := 0; FOR i := 1 TO 3 DO n := n + i; " PRINT("n") "; "
     PRINT("i") " END.",
     "6\r\n4\r\n"},
    {"ForThatNeverRunsKeepsTheStart",
     "VAR i, n: Integer; BEGIN n := 0; FOR i := 1 TO 0 DO n := 1; " PRINT("n") "; " PRINT("i")
     " END.",
     "0\r\n1\r\n"},
    {"DowntoLeavesLimitMinusOne",
     "VAR i, n: Integer; BEGIN n := 0; FOR i := 3 DOWNTO 1 DO n := n * 10 + i; " PRINT("n") "; "
     PRINT("i") " END.",
     "321\r\n0\r\n"},
    {"LimitIsEvaluatedOnce",
     "VAR i, n, k: Integer; BEGIN n := 3; k := 0; FOR i := 1 TO n DO BEGIN n := n + 1; k := k + 1 "
     "END; " PRINT("k") " END.",
     "3\r\n"},
    {"BodyChangesOfTheVariableCount",
     "VAR i, k: Integer; BEGIN k := 0; FOR i := 1 TO 10 DO BEGIN i := i + 2; k := k + 1 END; "
     PRINT("k") "; " PRINT("i") " END.",
     "4\r\n13\r\n"},
    {"BreakDropsTheLimit",
     "VAR i, j, k: Integer; BEGIN k := 0; FOR j := 1 TO 1000 DO FOR i := 1 TO 100 DO BEGIN k := "
     "k + 1; IF i = 2 THEN BREAK END; " PRINT("k") " END.",
     "2000\r\n"},
    {"ContinueInForSkipsToTheIncrement",
     "VAR i, k: Integer; BEGIN k := 0; FOR i := 1 TO 5 DO BEGIN IF ODD(i) THEN CONTINUE; k := k + "
     "i END; " PRINT("k") " END.",
     "6\r\n"},
    {"ContinueInRepeatSkipsTheCondition",
     "VAR i: Integer; BEGIN i := 0; REPEAT i := i + 1; IF i < 3 THEN CONTINUE; WRITELN('x') UNTIL "
     "i >= 0; " PRINT("i") " END.",
     "x\r\n3\r\n"},
    {"ContinueInWhileTestsTheCondition",
     "VAR i, k: Integer; BEGIN i := 0; k := 0; WHILE i < 5 DO BEGIN i := i + 1; IF ODD(i) THEN "
     "CONTINUE; k := k + i END; " PRINT("k") " END.",
     "6\r\n"},
    {"WhileTrueLeftByBreak",
     "VAR i: Integer; BEGIN i := 0; WHILE TRUE DO BEGIN i := i + 1; IF i = 4 THEN BREAK END; "
     PRINT("i") " END.",
     "4\r\n"},
    {"GotoLoop",
     "LABEL again; VAR i: Integer; BEGIN i := 0; again: i := i + 1; IF i < 5 THEN GOTO again; "
     PRINT("i") " END.",
     "5\r\n"},
    {"ExitEndsTheMainProgram", "BEGIN WRITELN('a'); EXIT; WRITELN('b') END.", "a\r\n"},
    {"HaltEndsTheProgramFromAProcedure",
     "PROCEDURE P; BEGIN WRITELN('p'); HALT; WRITELN('q') END; BEGIN P; WRITELN('main') END.",
     "p\r\n"},
    {"BuiltInFunctionsAsStatementsInsideFor",
     "VAR i, k: Integer; BEGIN k := 0; FOR i := 1 TO 3 DO BEGIN RANDOM(100); ODD(i); k := k + 1 "
     "END; " PRINT("k") " END.",
     "3\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Statements, StatementRun, ::testing::ValuesIn(Runs),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
