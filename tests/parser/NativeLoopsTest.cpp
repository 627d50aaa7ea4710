// Loops run as native code against Step: programs whose loops the translation takes, and that
// leave its fast path in every way (stores past arrays into the stack and out of the store,
// divisions by 0 and -1, real overflows, register pressure, many rounds), must end as Step ends
// them: error, registers, output and all 64001 bytes of the store.
#include <cstring>
#include <vector>

#include "../vm/VmTestUtil.h"
#include "CompileHelper.h"

namespace {

using namespace vmtest;

void ExpectNative(const IProgramRef &prog) {
#if defined(__x86_64__) && defined(__linux__)
  EXPECT_GT(NativeLoopCount(prog), 0u) << "no loop translated";
#else
  (void)prog;
#endif
}

TEST(NativeLoops, EndAsStepOnPrograms) {
  const struct {
    const char *name;
    const char *source;
    const char *error;
  } cases[] = {
      {"integer stores run over the loop variable, the stack and out of the store",
       "PROGRAM P; VAR a: ARRAY[1..4] OF Integer; i: Integer;\n"
       "BEGIN i := 1; WHILE i > 0 DO BEGIN a[i] := i; i := i + 1 END END.",
       "Store over/underflow"},
      {"Boolean stores below the store's start",
       "PROGRAM P; VAR f: ARRAY[1..4] OF Boolean; i: Integer;\n"
       "BEGIN i := 4; REPEAT f[i] := i MOD 3 = 0; i := i - 1 UNTIL i < -100 END.",
       "Store over/underflow"},
      {"division by a divisor reaching 0",
       "PROGRAM P; VAR i, s: Integer; BEGIN s := 0; FOR i := 5 DOWNTO -1 DO s := s + 100 MOD i END.",
       "Division by zero"},
      {"DIV and MOD by -1 of the smallest integer",
       "PROGRAM P; VAR i, k, m, s, t: Integer;\n"
       "BEGIN k := -1; m := -2147483647 - 1; s := 0; t := 0;\n"
       "  FOR i := 1 TO 3 DO BEGIN s := s + m DIV k; t := t + m MOD k + 17 DIV (i + 1) END;\n"
       "  WriteLn(IntToStr(s) + ' ' + IntToStr(t)) END.",
       ""},
      {"real overflow", "PROGRAM P; VAR x: Real; BEGIN x := 2; WHILE x > 0 DO x := x * x END.",
       "Floating point overflow"},
      {"real division by zero",
       "PROGRAM P; VAR i: Integer; r: Real; BEGIN r := 0; FOR i := 0 TO 3 DO r := r + i / (i - 2) END.",
       "Floating point division by zero"},
      {"reals, comparisons and Booleans",
       "PROGRAM P; VAR i, n: Integer; x, y: Real; a, b, c: Boolean;\n"
       "BEGIN n := 0; x := 0.5; y := -1.25; a := FALSE;\n"
       "  FOR i := 1 TO 40 DO BEGIN\n"
       "    x := x * 1.5 - y / 4 + i; y := y - x / (i + 1);\n"
       "    b := (x > y) AND NOT (x = y) OR (i MOD 5 = 0); c := (x <= y) XOR a; a := b = c;\n"
       "    IF (x <> y) AND (x >= 0) AND a THEN n := n + 1;\n"
       "    IF c <> b THEN n := n - 1 END;\n"
       "  WriteLn(IntToStr(n) + ' ' + FloatToStr(x) + ' ' + FloatToStr(y)) END.",
       ""},
      {"Odd, Round, shifts and negations",
       "PROGRAM P; VAR i, s, k: Integer; x: Real;\n"
       "BEGIN s := 0; x := 0.25; k := 3;\n"
       "  FOR i := -6 TO 40 DO BEGIN\n"
       "    IF Odd(i) THEN s := s + Round(x * i) ELSE s := s - Round(-x * i - 0.5);\n"
       "    s := s XOR (i SHL k) + (s SHR 3) + (NOT i) + (i SHL 33) + (s SHR i); x := -x * 1000 END;\n"
       "  WriteLn(IntToStr(s) + ' ' + FloatToStr(x)) END.",
       "Invalid floating point operation"},
      {"more rounds than between two polls",
       "PROGRAM P; VAR i, s: Integer; BEGIN s := 0; FOR i := 1 TO 200000 DO s := s + i MOD 7;\n"
       "  WriteLn(IntToStr(s)) END.",
       ""},
      {"more live values than registers",
       "PROGRAM P; VAR i, a, b, c, d, e, f, g, h, k, m, s: Integer; x1, x2, x3, x4, x5, x6, x7, x8, x9: Real;\n"
       "  y1, y2, y3, y4, y5, y6, y7, y8, z: Real;\n"
       "BEGIN a := 1; b := 2; c := 3; d := 4; e := 5; f := 6; g := 7; h := 8; k := 9; m := 10; s := 0;\n"
       "  x1 := 1; x2 := 2; x3 := 3; x4 := 4; x5 := 5; x6 := 6; x7 := 7; x8 := 8; x9 := 9;\n"
       "  y1 := 1; y2 := 2; y3 := 3; y4 := 4; y5 := 5; y6 := 6; y7 := 7; y8 := 8; z := 0;\n"
       "  FOR i := 1 TO 5 DO BEGIN\n"
       "    s := s + a * (b - (c + (d * (e - (f + (g * (h - (k + (m * (i - s))))))))));\n"
       "    z := z + x1 * (x2 - (x3 + (x4 * (x5 - (x6 + (x7 * (x8 - (x9 + (y1 * (y2 - (y3 + (y4 *\n"
       "      (y5 - (y6 + (y7 * (y8 - i)))))))))))))))) END;\n"
       "  WriteLn(IntToStr(s) + ' ' + FloatToStr(z)) END.",
       ""},
      {"a sort through a VAR parameter",
       "PROGRAM P; TYPE T = ARRAY[0..20] OF Integer; VAR a: T; i: Integer;\n"
       "PROCEDURE Sort(VAR x: T; n: Integer); VAR i, j, v: Integer;\n"
       "BEGIN i := 2; REPEAT v := x[i]; j := i - 1;\n"
       "  WHILE (j >= 1) AND (v < x[j]) DO BEGIN x[j + 1] := x[j]; j := j - 1 END;\n"
       "  x[j + 1] := v; i := i + 1 UNTIL i > n END;\n"
       "BEGIN FOR i := 1 TO 20 DO a[i] := (i * 7919) MOD 31; Sort(a, 20);\n"
       "  FOR i := 1 TO 20 DO Write(IntToStr(a[i]) + ' '); WriteLn('') END.",
       ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const TCompiled compiled = CompileSource(c.source);
    ASSERT_TRUE(compiled.Ok) << (compiled.Errors.empty() ? "" : compiled.Errors.front());
    ExpectNative(compiled.Program);
    EXPECT_EQ(RunBoth(compiled.Program).Error, c.error);
  }
}

// Machine code no compiler makes: a loop on locals above SP (SetMP moves MP past it), and one
// entered with the stack at the store's end. The loops are taken, their code refuses to start,
// and the instructions run on their own.
TEST(NativeLoops, RefuseRegistersTheyCannotServe) {
  TAsm high;
  high.StackAt(40).Op(ocSetMP, -100);                             // 0..2: MP 140, SP 40
  high.Op(ocPushMP).Op(ocIncInt, 4).Op(ocPushInt, 0).Op(ocSto, 4);  // 3..6: [MP+4] := 0
  high.Op(ocPushMP).Op(ocIncInt, 4).Op(ocPushMP).Op(ocIncInt, 4).Op(ocDeref, 4).Op(ocIncInt, 1).Op(ocSto, 4);  // 7..13
  high.Op(ocPushMP).Op(ocIncInt, 4).Op(ocDeref, 4).Op(ocPushInt, 1000).Op(ocLTInt).Op(ocJifF, 21);  // 14..19
  high.Op(ocJump, 7).Op(ocHalt);                                  // 20, 21
  ExpectNative(high.Prog);
  const TOutcome o = RunBoth(high.Prog);
  EXPECT_EQ(o.Error, "");
  EXPECT_EQ(IntAt(o, 144), 1000);

  TAsm full;
  full.StackAt(63993);                                                                   // 0, 1
  full.Op(ocPushInt, 7).Op(ocPushInt, 0).Op(ocGTInt).Op(ocJifF, 7).Op(ocJump, 2).Op(ocHalt);  // 2..7
  ExpectNative(full.Prog);
  EXPECT_EQ(RunBoth(full.Prog).Error, "Store overflow");
}

}  // namespace
