PROGRAM RoundDemo;
{ ROUND: halves go to the even neighbour; negative values; reals to integers. }
VAR
  x: Real;
  i: Integer;
  line: String;

BEGIN
  line := '';
  x := -3.0;
  WHILE x <= 3.0 DO
  BEGIN
    line := line + FloatToStr(x) + '->' + IntToStr(Round(x)) + ' ';
    x := x + 0.5
  END;
  WriteLn(line);
  WriteLn(IntToStr(Round(2.5)) + ' ' + IntToStr(Round(3.5)) + ' ' + IntToStr(Round(-2.5)) + ' ' +
          IntToStr(Round(0.5)) + ' ' + IntToStr(Round(1.5)) + ' ' + IntToStr(Round(-0.5)));
  WriteLn(IntToStr(Round(2.4999)) + ' ' + IntToStr(Round(2.5001)) + ' ' + IntToStr(Round(-7.6)));
  line := '';
  FOR i := 1 TO 10 DO line := line + IntToStr(Round(i / 3)) + ' ';
  WriteLn(line);
  x := 1234567.89;
  i := Round(x);
  WriteLn(IntToStr(i));
  i := Round(x * 100) MOD 100;
  WriteLn('cents = ' + IntToStr(i));
  i := Round(2000000000.4);
  WriteLn(IntToStr(i))
END.
