PROGRAM FoldingVsRuntime;
{ The same operations with constant operands (computed by the compiler) and with variables
  (computed when the program runs) must agree. }
CONST
  A = 17;
  C = -5;
  X = 2.5;
  S1 = 'abc';
VAR
  a1, c1: Integer;
  x1: Real;
  s: String;
  line: String;

FUNCTION B(v: Boolean): String;
BEGIN
  IF v THEN B := 'T' ELSE B := 'F'
END;

BEGIN
  a1 := A;
  c1 := C;
  x1 := X;
  s := S1;
  WriteLn('DIV ' + IntToStr(A DIV C) + ' ' + IntToStr(a1 DIV c1) + '  MOD ' + IntToStr(A MOD C) + ' ' + IntToStr(a1 MOD c1));
  WriteLn('neg DIV ' + IntToStr((-A) DIV 2) + ' ' + IntToStr((-a1) DIV 2) + '  neg MOD ' + IntToStr((-A) MOD 2) + ' ' + IntToStr((-a1) MOD 2));
  WriteLn('/ ' + FloatToStr(A / C) + ' ' + FloatToStr(a1 / c1) + '  * ' + FloatToStr(A * X) + ' ' + FloatToStr(a1 * x1));
  WriteLn('- ' + FloatToStr(A - X) + ' ' + FloatToStr(a1 - x1) + '  ' + FloatToStr(X - A) + ' ' + FloatToStr(x1 - a1));
  WriteLn('AND ' + IntToStr(A AND C) + ' ' + IntToStr(a1 AND c1) + '  OR ' + IntToStr(A OR C) + ' ' + IntToStr(a1 OR c1) +
          '  XOR ' + IntToStr(A XOR C) + ' ' + IntToStr(a1 XOR c1) + '  NOT ' + IntToStr(NOT C) + ' ' + IntToStr(NOT c1));
  WriteLn('SHL ' + IntToStr(A SHL 3) + ' ' + IntToStr(a1 SHL 3) + '  SHR ' + IntToStr(A SHR 2) + ' ' + IntToStr(a1 SHR 2));
  WriteLn('ROUND ' + IntToStr(Round(X)) + ' ' + IntToStr(Round(x1)) + ' ' + IntToStr(Round(-X)) + ' ' + IntToStr(Round(-x1)) +
          ' ' + IntToStr(Round(X + 1)) + ' ' + IntToStr(Round(x1 + 1)));
  WriteLn('ODD ' + B(ODD(A)) + B(ODD(a1)) + B(ODD(C)) + B(ODD(c1)) + B(ODD(A + 1)) + B(ODD(a1 + 1)));
  WriteLn('INTTOSTR ' + IntToStr(A * C) + ' ' + IntToStr(a1 * c1));
  WriteLn('FLOATTOSTR ' + FloatToStr(X / 3) + ' ' + FloatToStr(x1 / 3));
  WriteLn('SIN ' + FloatToStr(Round(Sin(X) * 1000000)) + ' ' + FloatToStr(Round(Sin(x1) * 1000000)) +
          '  COS ' + FloatToStr(Round(Cos(X) * 1000000)) + ' ' + FloatToStr(Round(Cos(x1) * 1000000)) +
          '  ARCTAN ' + FloatToStr(Round(ArcTan(X) * 1000000)) + ' ' + FloatToStr(Round(ArcTan(x1) * 1000000)));
  line := 'compare ' + B(A < X) + B(a1 < x1) + B(S1 < 'abd') + B(s < 'abd') + B(S1 = 'abc') + B(s = 'abc') +
          B(S1 + 'd' > 'abc') + B(s + 'd' > 'abc') + B(C <= -5) + B(c1 <= -5) + B(NOT (A > 3)) + B(NOT (a1 > 3));
  WriteLn(line);
  WriteLn('concat ' + S1 + S1 + '|' + s + s);
  WriteLn('mixed ' + IntToStr(A + 1 + 2) + ' ' + IntToStr(a1 + 1 + 2) + ' ' + IntToStr(1 + 2 + A) + ' ' + IntToStr(1 + 2 + a1) +
          ' ' + IntToStr(A - 1 - 2) + ' ' + IntToStr(a1 - 1 - 2))
END.
