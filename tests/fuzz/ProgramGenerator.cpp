// The program generator of the round-trip fuzzer: one routine per kind of statement and
// expression, each reading its choices from the input bytes (zeros once they run out, which
// always picks the simplest form, so every program is finite).
#include "ProgramGenerator.h"

#include <string>
#include <vector>

namespace fuzz {
namespace {

class TGenerator {
 public:
  TGenerator(const std::uint8_t *data, std::size_t size) : Data(data), Size(size) {}

  std::string Program() {
    const int lo = Pick(11) - 5;
    const int hi = lo + Pick(10);
    Out += "PROGRAM Gen;\nLABEL done;\nCONST Lo = " + std::to_string(lo) + "; Hi = " + std::to_string(hi) +
           "; Name = 'gen';\n";
    Out += "TYPE\n  TArr = ARRAY[Lo..Hi] OF Integer;\n"
           "  TRec = RECORD a: Integer; r: Real; s: String; b: Boolean; arr: TArr END;\n"
           "  PInt = ^Integer;\n  PRec = ^TRec;\n";
    Out += "VAR\n  i, j, k: Integer;\n  x, y: Real;\n  s, t: String;\n  b, c: Boolean;\n  a: TArr;\n"
           "  rec: TRec;\n  p: PInt;\n  q: PRec;\n  m: ARRAY[1..3, 0..2] OF Real;\n"
           "  f1, f2, f3, f4: Integer;\n\n";
    // Proc comes first: Fn may call it, and it calls only itself.
    Out += "PROCEDURE Proc(r: Real; VAR str: String; rc: TRec);\nBEGIN\n";
    InProcedure = true;
    Statements(1);
    InProcedure = false;
    Out += "  str := str + rc.s\nEND;\n\n";
    Out += "FUNCTION Fn(n: Integer; VAR v: Integer): Integer;\nVAR l: Integer;\nBEGIN\n  l := n;\n";
    InFunction = true;
    Statements(1);
    Out += "  Fn := " + Int(0) + "\nEND;\n\nBEGIN\n  p := @i;\n  q := @rec;\n";
    InFunction = false;
    Statements(1);
    Out += "done:\n  WriteLn('end')\nEND.\n";
    return Out;
  }

 private:
  static constexpr int MaxDepth = 4;
  static constexpr int MaxStatements = 400;

  int Pick(int n) {
    if (n <= 1) return 0;
    const int v = Pos < Size ? Data[Pos++] : 0;
    return v % n;
  }
  std::int32_t Word() {
    std::uint32_t v = 0;
    for (int b = 0; b < 4; ++b) v |= static_cast<std::uint32_t>(Pos < Size ? Data[Pos++] : 0) << (8 * b);
    return static_cast<std::int32_t>(v);
  }
  void Indent(int depth) { Out.append(static_cast<std::size_t>(2 * depth), ' '); }

  // A list of statements, each followed by ";", at least one.
  void Statements(int depth) {
    const int n = 1 + Pick(depth == 1 ? 12 : 4);
    for (int s = 0; s < n; ++s) {
      Indent(depth);
      Statement(depth);
      Out += ";\n";
    }
  }

  void Statement(int depth) {
    if (++Emitted > MaxStatements || depth > MaxDepth) {
      Out += IntVar() + " := " + Int(MaxDepth);
      return;
    }
    switch (Pick(24)) {
      case 0: case 1: case 2: Out += IntVar() + " := " + Int(0); return;
      case 3: Out += RealVar() + " := " + Real(0); return;
      case 4: Out += StrVar() + " := " + Str(0); return;
      case 5: Out += BoolVar() + " := " + Bool(0); return;
      case 6: Out += PointerAssignment(); return;
      case 7:
        Out += "IF " + Bool(1) + " THEN\n";
        Indent(depth + 1);
        Nested(depth + 1);
        if (Pick(2)) {
          Out += "\n";
          Indent(depth);
          Out += "ELSE ";
          Nested(depth + 1);
        }
        return;
      case 8: Loop(depth, "WHILE " + Bool(1) + " DO "); return;
      case 9: {
        const std::string var = "f" + std::to_string(depth);
        Loop(depth, "FOR " + var + " := " + Int(2) + (Pick(2) ? " TO " : " DOWNTO ") + Int(2) + " DO ");
        return;
      }
      case 10:
        Out += "REPEAT\n";
        ++LoopDepth;
        Statements(depth + 1);
        --LoopDepth;
        Indent(depth);
        Out += "UNTIL " + Bool(1);
        return;
      case 11: Out += (Pick(3) ? "WriteLn(" : "Write(") + Str(1) + ")"; return;
      case 12: Out += "ReadLn(" + std::string(Pick(3) == 0 ? IntVar() : Pick(2) ? RealVar() : StrVar()) + ")"; return;
      case 13: Out += std::string(Pick(2) ? "Inc(" : "Dec(") + IntVar() + ")"; return;
      case 14: Out += "Proc(" + Real(2) + ", " + StrVar() + ", rec)"; return;
      case 15:
        if (InProcedure) {
          Out += "i := " + Int(2);
          return;
        }
        Out += "i := Fn(" + Int(2) + ", " + std::string(Pick(2) ? "j" : "a[" + Index() + "]") + ")"; return;
      case 16:
        if (LoopDepth > 0) {
          Out += Pick(2) ? "BREAK" : "CONTINUE";
          return;
        }
        Out += "j := " + Int(1);
        return;
      case 17:
        if (!InFunction && !InProcedure && Pick(2)) {
          Out += "GOTO done";
          return;
        }
        Out += Pick(8) == 0 ? "EXIT" : "k := " + Int(1);
        return;
      case 18: Out += Pick(16) == 0 ? "HALT" : "x := " + Real(1); return;
      case 19:
        Out += "BEGIN\n";
        Statements(depth + 1);
        Indent(depth);
        Out += "END";
        return;
      case 20: Out += "m[" + Index() + ", " + Index() + "] := " + Real(1); return;
      case 21: Out += "rec.arr[" + Index() + "] := " + Int(1); return;
      case 22: Out += "q^.s := " + Str(1); return;
      default: Out += "p^ := " + Int(1); return;
    }
  }

  void Nested(int depth) {
    if (Pick(3) == 0) {
      Out += "BEGIN\n";
      Statements(depth + 1);
      Indent(depth);
      Out += "END";
    } else {
      Statement(depth);
    }
  }

  void Loop(int depth, const std::string &head) {
    Out += head + "\n";
    Indent(depth + 1);
    ++LoopDepth;
    Nested(depth + 1);
    --LoopDepth;
  }

  std::string PointerAssignment() {
    switch (Pick(6)) {
      case 0: return "p := @" + IntVar();
      case 1: return "p := NIL";
      case 2: return "q := NIL";
      case 3: return "q := @rec";
      case 4: return "p := @a[" + Index() + "]";
      default: return "p := PInt(" + Int(2) + ")";
    }
  }

  // An index expression. Indexes inside indexes are bounded: past two levels the index is a
  // plain variable or literal, so the nesting stays far below the parser's limit.
  std::string Index() {
    if (IndexNesting >= 2) return Pick(2) ? "i" : IntLiteral();
    ++IndexNesting;
    std::string index = Int(3);
    --IndexNesting;
    return index;
  }

  std::string IntVar() {
    switch (Pick(InFunction ? 11 : 8)) {
      case 0: return "i";
      case 1: return "j";
      case 2: return "k";
      case 3: return "a[" + Index() + "]";
      case 4: return "rec.a";
      case 5: return "p^";
      case 6: return "q^.a";
      case 7: return "rec.arr[" + Index() + "]";
      case 8: return "n";
      case 9: return "v";
      default: return "l";
    }
  }
  std::string RealVar() {
    switch (Pick(InProcedure ? 6 : 5)) {
      case 0: return "x";
      case 1: return "y";
      case 2: return "rec.r";
      case 3: return "q^.r";
      case 4: return "m[" + Index() + ", " + Index() + "]";
      default: return "r";
    }
  }
  std::string StrVar() {
    switch (Pick(InProcedure ? 5 : 4)) {
      case 0: return "s";
      case 1: return "t";
      case 2: return "rec.s";
      case 3: return "q^.s";
      default: return "str";
    }
  }
  std::string BoolVar() {
    switch (Pick(3)) {
      case 0: return "b";
      case 1: return "c";
      default: return "rec.b";
    }
  }

  std::string IntLiteral() {
    switch (Pick(4)) {
      case 0: return std::to_string(Pick(10));
      case 1: return "(" + std::to_string(Pick(256) - 128) + ")";
      case 2: return "Lo";
      default: {
        const std::int32_t w = Word();
        // The most negative integer has no literal of its own.
        return w < 0 ? "((" + std::to_string(w + 1) + ") - 1)" : std::to_string(w);
      }
    }
  }

  std::string Int(int depth) {
    if (depth >= MaxDepth) return Pick(2) ? IntLiteral() : IntVar();
    static const char *const Ops[] = {" + ", " - ", " * ", " DIV ", " MOD ", " AND ", " OR ", " XOR ", " SHL ", " SHR "};
    switch (Pick(14)) {
      case 0: case 1: return IntLiteral();
      case 2: case 3: return IntVar();
      case 4: case 5: case 6: {
        // A divisor that is a variable: a constant 0 would be a compile-time error.
        const int op = Pick(10);
        return "(" + Int(depth + 1) + Ops[op] + (op == 3 || op == 4 ? IntVar() : Int(depth + 1)) + ")";
      }
      case 7: return "(-(" + Int(depth + 1) + "))";
      case 8: return "Round(" + Real(depth + 1) + ")";
      case 9: return "Random(" + Int(depth + 1) + ")";
      case 10: return Pick(2) ? "SizeOf(TRec)" : "SizeOf(" + IntVar() + ")";
      case 11: return InProcedure ? "Hi" : "Fn(" + Int(depth + 1) + ", k)";
      case 12: return "NOT " + Int(depth + 1);
      default: return "Hi";
    }
  }

  std::string Real(int depth) {
    static const char *const Literals[] = {"0.0", "1.5", "1E300", "(-2.5E-10)", "0.1", "3.14159", "1E-320", "1E308"};
    if (depth >= MaxDepth) return Pick(2) ? Literals[Pick(8)] : RealVar();
    static const char *const Ops[] = {" + ", " - ", " * ", " / "};
    switch (Pick(10)) {
      case 0: case 1: return Literals[Pick(8)];
      case 2: case 3: return RealVar();
      case 4: case 5: {
        const int op = Pick(4);
        return "(" + Real(depth + 1) + Ops[op] + (op == 3 ? RealVar() : Real(depth + 1)) + ")";
      }
      case 6: return std::string(Pick(3) == 0 ? "Sin(" : Pick(2) ? "Cos(" : "ArcTan(") + Real(depth + 1) + ")";
      case 7: return "Real(" + Int(depth + 1) + ")";
      case 8: return "(" + Int(depth + 1) + " / " + IntVar() + ")";
      default: return "(-(" + Real(depth + 1) + "))";
    }
  }

  std::string StrLiteral() {
    std::string s = "'";
    const int n = Pick(4) == 0 ? Pick(256) : Pick(6);
    for (int c = 0; c < n; ++c) {
      const char ch = static_cast<char>(' ' + Pick(95));
      s += ch;
      if (ch == '\'') s += '\'';
    }
    return s + "'";
  }

  std::string Str(int depth) {
    if (depth >= MaxDepth) return Pick(2) ? StrLiteral() : StrVar();
    switch (Pick(7)) {
      case 0: case 1: return StrLiteral();
      case 2: return StrVar();
      case 3: case 4: return "(" + Str(depth + 1) + " + " + Str(depth + 1) + ")";
      case 5: return "IntToStr(" + Int(depth + 1) + ")";
      default: return Pick(2) ? "FloatToStr(" + Real(depth + 1) + ")" : "Name";
    }
  }

  std::string Bool(int depth) {
    if (depth >= MaxDepth) return Pick(2) ? (Pick(2) ? "TRUE" : "FALSE") : BoolVar();
    static const char *const Rel[] = {" = ", " <> ", " < ", " <= ", " > ", " >= "};
    static const char *const Ops[] = {" AND ", " OR ", " XOR "};
    switch (Pick(11)) {
      case 0: return Pick(2) ? "TRUE" : "FALSE";
      case 1: return BoolVar();
      case 2: case 3: return "(" + Int(depth + 1) + Rel[Pick(6)] + Int(depth + 1) + ")";
      case 4: return "(" + Real(depth + 1) + Rel[Pick(6)] + Real(depth + 1) + ")";
      case 5: return "(" + Str(depth + 1) + Rel[Pick(6)] + Str(depth + 1) + ")";
      case 6: case 7: return "(" + Bool(depth + 1) + Ops[Pick(3)] + Bool(depth + 1) + ")";
      case 8: return "NOT " + Bool(depth + 1);
      case 9: return "Odd(" + Int(depth + 1) + ")";
      default: return Pick(2) ? "(p = NIL)" : "(q <> NIL)";
    }
  }

  const std::uint8_t *Data;
  std::size_t Size;
  std::size_t Pos = 0;
  std::string Out;
  int Emitted = 0;
  int LoopDepth = 0;
  int IndexNesting = 0;
  bool InFunction = false;
  bool InProcedure = false;
};

}  // namespace

std::string GenerateProgram(const std::uint8_t *data, std::size_t size) {
  return TGenerator(data, size).Program();
}

}  // namespace fuzz
