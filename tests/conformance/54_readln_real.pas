PROGRAM ReadReal;
{ READLN of reals: fractions, exponents, signs, integers read as reals; an average. }
VAR
  x, total: Real;
  i, n: Integer;

BEGIN
  ReadLn(n);
  total := 0;
  FOR i := 1 TO n DO
  BEGIN
    ReadLn(x);
    WriteLn(FloatToStr(x) + ' doubled is ' + FloatToStr(x * 2));
    total := total + x
  END;
  WriteLn('total = ' + FloatToStr(total));
  WriteLn('average = ' + FloatToStr(total / n))
END.
