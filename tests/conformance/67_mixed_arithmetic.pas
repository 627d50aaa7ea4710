PROGRAM MixedArithmetic;
{ Integer and Real operands mixed on either side of every operator, with literals, variables,
  array elements and function results; constant expressions give the same as variables. }
VAR
  i, j: Integer;
  x, y: Real;
  ri: ARRAY[1..3] OF Integer;
  rr: ARRAY[1..3] OF Real;

FUNCTION FI(v: Integer): Integer;
BEGIN
  FI := v
END;

FUNCTION FR(v: Real): Real;
BEGIN
  FR := v
END;

FUNCTION B(v: Boolean): String;
BEGIN
  IF v THEN B := 'T' ELSE B := 'F'
END;

BEGIN
  i := 7;
  j := 2;
  x := 2.5;
  y := 10;
  ri[2] := 7;
  rr[2] := 2.5;
  WriteLn('i - x ' + FloatToStr(i - x) + ' | x - i ' + FloatToStr(x - i) + ' | 7 - 2.5 ' + FloatToStr(7 - 2.5));
  WriteLn('i / x ' + FloatToStr(i / x) + ' | x / i ' + FloatToStr(x / i) + ' | 7 / 2.5 ' + FloatToStr(7 / 2.5));
  WriteLn('i * x ' + FloatToStr(i * x) + ' | x * i ' + FloatToStr(x * i) + ' | i + x ' + FloatToStr(i + x));
  WriteLn('i / j ' + FloatToStr(i / j) + ' | j / i ' + FloatToStr(j / i));
  WriteLn('arrays: ' + FloatToStr(ri[2] - rr[2]) + ' ' + FloatToStr(rr[2] - ri[2]) + ' ' +
          FloatToStr(ri[2] / rr[2]) + ' ' + FloatToStr(rr[2] / ri[2]));
  WriteLn('functions: ' + FloatToStr(FI(7) - FR(2.5)) + ' ' + FloatToStr(FR(2.5) - FI(7)) + ' ' +
          FloatToStr(FI(7) / FR(2.5)) + ' ' + FloatToStr(FI(7) / FI(2)));
  WriteLn('compare i ? x:  < ' + B(i < x) + ' <= ' + B(i <= x) + ' > ' + B(i > x) + ' >= ' + B(i >= x) +
          ' = ' + B(i = x) + ' <> ' + B(i <> x));
  WriteLn('compare x ? i:  < ' + B(x < i) + ' <= ' + B(x <= i) + ' > ' + B(x > i) + ' >= ' + B(x >= i) +
          ' = ' + B(x = i) + ' <> ' + B(x <> i));
  WriteLn('compare 7 ? 2.5: < ' + B(7 < 2.5) + ' <= ' + B(7 <= 2.5) + ' > ' + B(7 > 2.5) + ' >= ' + B(7 >= 2.5));
  WriteLn('compare 10 ? y: = ' + B(10 = y) + ' <> ' + B(10 <> y) + ' <= ' + B(10 <= y));
  WriteLn('chain: ' + FloatToStr(i - x - j) + ' ' + FloatToStr(i - (x - j)) + ' ' + FloatToStr(i / j / x) +
          ' ' + FloatToStr(i / (j / x)) + ' ' + FloatToStr(1 - i / j * x + y));
  WriteLn('assign: ' + FloatToStr(FR(i)) + ' ' + FloatToStr(FR(i DIV j)) + ' ' + FloatToStr(FR(i MOD j)));
  x := i;
  y := i * j - 1;
  WriteLn('x := i gives ' + FloatToStr(x) + ', y := i * j - 1 gives ' + FloatToStr(y));
  WriteLn('negated: ' + FloatToStr(-x * j) + ' ' + FloatToStr(-i / j) + ' ' + IntToStr(-i * j) + ' ' + IntToStr(-i DIV j))
END.
