// A learner's usual mistakes, compiled by the real compiler: the first diagnostic must find the
// hint meant for it. A changed message text or a misordered hint key shows up here.
#include <set>
#include <string>

#include "CompileHelper.h"
#include "DiagnosticHints.h"

TEST(DiagnosticHint, TheUsualMistakesFindTheirHints) {
  struct TCase {
    const char *Source;  // a whole program, or the statements of one with i, r, s, Q and V
    const char *InHint;  // a text the hint must contain
  };
  const TCase cases[] = {
      {"WriteLn('i = ', i)", "join the parts with +"},
      {"WriteLn('i = ' + i)", "'x = ' + IntToStr(x)"},
      {"WriteLn('abc);\n  WriteLn('d')", "quote left open"},
      {"WriteLn(\"abc\")", "quote left open"},
      {"WriteLn(i)", "WriteLn(IntToStr(n))"},
      {"i := 1\n  i := 2", "Put a ; between"},
      {"i = 1", "compare with ="},
      {"ReadLn(i, r)", "one variable at a time"},
      {"if i = 1 i := 2", "IF condition THEN"},
      {"while i < 3\n    i := i + 1", "WHILE condition DO"},
      {"j := 1", "VAR section"},
      {"if i = 1 then i := 2;\n  else i := 3", "no ; before ELSE"},
      {"i := 7 / 2", "DIV divides Integers"},
      {"i := 'a'", "text goes only into a String"},
      {"for r := 1 to 3 do i := 1", "Integer variable"},
      {"if i then i := 1", "true or false"},
      {"if i > 0 and i < 5 then i := 1", "(x > 0) AND (x < 5)"},
      {"if s = 1 then i := 1", "a String with a String"},
      {"break", "inside a FOR, WHILE or REPEAT"},
      {"continue", "inside a FOR, WHILE or REPEAT"},
      {"i := Q", "Only a FUNCTION gives a value"},
      {"V(r)", "VAR parameter"},
      {"i : = 1", "write := without a space"},
      {"begin\n    i := 1\n  end.\n  i := 2", "Every BEGIN needs its END"},
      {"i := Sqr(2)", "Declare each variable"},
      {"k(1)", "Declare the name"},
      {"program;\nbegin\nend.\n", "PROGRAM and a name"},
      {"program P;\nvar i: Integer; i: Real;\nbegin\nend.\n", "only once in a block"},
      {"program P;\nbegin\n  WriteLn('a');\n", "the final END. is missing"},
      {"program P;\nbegin\nend.\nWriteLn('b')\n", "an inner END is followed by ;"},
      {"program P;\nuses crt;\nbegin\nend.\n", "cannot stand here"},
  };
  std::set<std::string> hintsSeen;
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Source);
    const std::string source = std::string(c.Source).starts_with("program")
                                   ? c.Source
                                   : std::string("program P;\nvar i: Integer; r: Real; s: String;\n"
                                                 "procedure Q; begin end;\n"
                                                 "procedure V(var n: Integer); begin end;\n"
                                                 "begin\n  ") + c.Source + "\nend.\n";
    const TCompiled compiled = CompileSource(source);
    ASSERT_FALSE(compiled.Errors.empty());
    const std::string hint(DiagnosticHint(SplitDiagnostic(compiled.Errors.front()).Message));
    EXPECT_NE(hint.find(c.InHint), std::string::npos) << compiled.Errors.front() << "\n" << hint;
    hintsSeen.insert(hint);
  }
  EXPECT_GE(hintsSeen.size(), 25u);
}

TEST(DiagnosticHint, LinesSplitIntoKindAndMessage) {
  struct TCase {
    const char *Line;
    TDiagnosticKind Kind;
    int Number;
    const char *Message;
  } const cases[] = {
      {"[Error] demo.pas(12): ; missing", TDiagnosticKind::dkError, 12, "; missing"},
      {"[Fatal Error] demo.pas(1): x", TDiagnosticKind::dkError, 1, "x"},
      {"[Warning] demo.pas(3): Comparing different types", TDiagnosticKind::dkWarning, 3,
       "Comparing different types"},
      {"[Hint] de(mo).pas(4): a (b): c", TDiagnosticKind::dkHint, 4, "a (b): c"},
      {"[Error] bad (1).pas(5): ) missing", TDiagnosticKind::dkError, 5, ") missing"},
      {"[Error] demo.pas(99999999999): x", TDiagnosticKind::dkError, 0, "x"},
      {"[Error] demo.pas(): x", TDiagnosticKind::dkError, 0, "[Error] demo.pas(): x"},
      {"[Note] demo.pas(2): x", TDiagnosticKind::dkOther, 2, "x"},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Line);
    const TDiagnosticParts parts = SplitDiagnostic(c.Line);
    EXPECT_EQ(parts.Kind, c.Kind);
    EXPECT_EQ(parts.Line, c.Number);
    EXPECT_EQ(parts.Message, c.Message);
  }
  EXPECT_TRUE(DiagnosticHint("Comparing different types").empty());
  EXPECT_TRUE(DiagnosticHint("").empty());
}
