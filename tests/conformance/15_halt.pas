PROGRAM HaltDemo;
{ HALT ends the program at once, also from inside a nested procedure call. }
VAR
  i: Integer;

PROCEDURE Check(v: Integer);
BEGIN
  IF v > 3 THEN
  BEGIN
    WriteLn('limit reached at ' + IntToStr(v));
    HALT
  END;
  WriteLn('checked ' + IntToStr(v))
END;

PROCEDURE Outer(v: Integer);
BEGIN
  Check(v);
  WriteLn('back in Outer')
END;

BEGIN
  FOR i := 1 TO 10 DO Outer(i);
  WriteLn('never printed')
END.
