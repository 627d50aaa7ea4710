PROGRAM FloatFormat;
{ FLOATTOSTR where rounding to fifteen digits carries into a new digit or changes the notation,
  once folded by the compiler (constants) and once computed at run time (variables). }
VAR
  k: Integer;
  v: ARRAY[1..14] OF Real;
  one: Real;

BEGIN
  WriteLn(FloatToStr(9.9999999999999999) + ' ' + FloatToStr(999999999999999.5) + ' ' +
          FloatToStr(0.99999999999999994) + ' ' + FloatToStr(123456789012345.6));
  WriteLn(FloatToStr(0.00099999999999999999) + ' ' + FloatToStr(99999.99999999999) + ' ' +
          FloatToStr(1.5E-7) + ' ' + FloatToStr(-1E300 * 10));
  one := 1;
  v[1] := 9.9999999999999999 * one;
  v[2] := 999999999999999.5 * one;
  v[3] := 0.99999999999999994 * one;
  v[4] := 123456789012345.6 * one;
  v[5] := 0.00099999999999999999 * one;
  v[6] := 99999.99999999999 * one;
  v[7] := 1.5E-7 * one;
  v[8] := -1E300 * one * 10;
  v[9] := one / 3 * 3;
  v[10] := one * 0.1 * 3;
  v[11] := one * 0.7 + 0.1;
  v[12] := one * 4503599627370496.0;
  v[13] := one * 1E15 - 1;
  v[14] := one * 1E15 + 1;
  FOR k := 1 TO 14 DO WriteLn(IntToStr(k) + ': ' + FloatToStr(v[k]));
  FOR k := 1 TO 14 DO WriteLn(IntToStr(k) + ' negated: ' + FloatToStr(-v[k]))
END.
