PROGRAM TypeConversion;
{ Conversions written as a type name applied to an expression: Real(i) makes a real of an
  integer; a conversion to the same type changes nothing; ROUND goes back to integers. }
TYPE
  Meters = Real;
  Count = Integer;
VAR
  i, j: Integer;
  r: Real;
  m: Meters;
  c: Count;

BEGIN
  i := 7;
  r := Real(i) / 2;
  WriteLn('Real(7) / 2 = ' + FloatToStr(r));
  r := Real(i + 3);
  WriteLn('Real(i + 3) = ' + FloatToStr(r));
  WriteLn('Real(3) = ' + FloatToStr(Real(3)));
  m := Meters(12.5);
  WriteLn('Meters(12.5) = ' + FloatToStr(m));
  c := Count(i * 6);
  WriteLn('Count(i * 6) = ' + IntToStr(c));
  j := Integer(c) + 1;
  WriteLn('Integer(c) + 1 = ' + IntToStr(j));
  r := Real(2.25);
  WriteLn('Real(2.25) = ' + FloatToStr(r));
  i := Round(Real(i) * 1.5);
  WriteLn('Round(7 * 1.5) = ' + IntToStr(i));
  WriteLn('Real(1) / Real(3) = ' + FloatToStr(Real(1) / Real(3)))
END.
