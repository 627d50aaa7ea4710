PROGRAM NumberText;
{ INTTOSTR and FLOATTOSTR over many magnitudes: fixed and scientific notation, signs,
  fifteen significant digits. }
VAR
  i: Integer;
  x: Real;

BEGIN
  WriteLn(IntToStr(0) + ' ' + IntToStr(-1) + ' ' + IntToStr(2147483647) + ' ' + IntToStr(-2147483647 - 1));
  i := 1;
  WHILE i < 1000000000 DO
  BEGIN
    Write(IntToStr(i) + ' ' + IntToStr(-i) + ' ');
    i := i * 10
  END;
  WriteLn('');
  x := 1.0;
  FOR i := 1 TO 22 DO
  BEGIN
    WriteLn(FloatToStr(x) + '   ' + FloatToStr(-x * 1.5));
    x := x * 10
  END;
  x := 1.0;
  FOR i := 1 TO 3 DO
  BEGIN
    x := x / 10;
    WriteLn(FloatToStr(x) + '   ' + FloatToStr(x * 1.25))
  END;
  x := 0.000001;
  FOR i := 1 TO 8 DO
  BEGIN
    WriteLn(FloatToStr(x) + '   ' + FloatToStr(x * 7.5));
    x := x / 100
  END;
  WriteLn(FloatToStr(1 / 7));
  WriteLn(FloatToStr(22 / 7));
  WriteLn(FloatToStr(100 / 7));
  WriteLn(FloatToStr(1E10 / 7));
  WriteLn(FloatToStr(1E14 / 7));
  WriteLn(FloatToStr(1E15 / 7));
  WriteLn(FloatToStr(1E16 / 7));
  WriteLn(FloatToStr(123456789012345.0));
  WriteLn(FloatToStr(1234567890123456.0));
  WriteLn(FloatToStr(0.1 * 3));
  WriteLn(FloatToStr(2.5E-300));
  WriteLn(FloatToStr(1.7E308));
  WriteLn(FloatToStr(-0.5));
  WriteLn(FloatToStr(0.001234))
END.
