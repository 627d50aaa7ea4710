PROGRAM MathFunctions;
{ SIN, COS and ARCTAN; square roots and absolute values written in Pascal itself. }
CONST
  Pi = 3.14159265358979;
VAR
  i: Integer;
  x, s, c: Real;

FUNCTION AbsReal(v: Real): Real;
BEGIN
  IF v < 0 THEN AbsReal := -v ELSE AbsReal := v
END;

FUNCTION Sqrt(v: Real): Real;
VAR
  g: Real;
  k: Integer;
BEGIN
  g := v;
  IF g < 1 THEN g := 1;
  FOR k := 1 TO 60 DO g := (g + v / g) / 2;
  Sqrt := g
END;

FUNCTION Rounded(v: Real): String;
BEGIN
  { six decimals are enough to compare library results }
  Rounded := FloatToStr(Round(v * 1000000) / 1000000)
END;

BEGIN
  FOR i := 0 TO 8 DO
  BEGIN
    x := i * Pi / 8;
    s := Sin(x);
    c := Cos(x);
    WriteLn(IntToStr(i) + '/8 pi: sin ' + Rounded(s) + '  cos ' + Rounded(c) + '  sin^2+cos^2 ' + Rounded(s * s + c * c))
  END;
  WriteLn('arctan(1) * 4 = ' + Rounded(ArcTan(1) * 4));
  WriteLn('arctan(0) = ' + FloatToStr(ArcTan(0)));
  WriteLn('sin(0) = ' + FloatToStr(Sin(0)));
  WriteLn('cos(0) = ' + FloatToStr(Cos(0)));
  WriteLn('arctan(-1e10) = ' + Rounded(ArcTan(-1E10)));
  FOR i := 1 TO 5 DO
    WriteLn('sqrt(' + IntToStr(i) + ') = ' + Rounded(Sqrt(i)));
  WriteLn('sqrt(2) squared = ' + Rounded(Sqrt(2) * Sqrt(2)));
  WriteLn('abs: ' + FloatToStr(AbsReal(-2.5)) + ' ' + FloatToStr(AbsReal(3)));
  x := 0.5;
  WriteLn('sin(x)^2 + cos(x)^2 = ' + FloatToStr(Round(Sin(x) * Sin(x) + Cos(x) * Cos(x))))
END.
