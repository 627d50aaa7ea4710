PROGRAM ExitDemo;
{ EXIT leaves a procedure or function early, also from inside loops. }
VAR
  i: Integer;

FUNCTION FirstDivisor(n: Integer): Integer;
VAR
  d: Integer;
BEGIN
  FirstDivisor := n;
  FOR d := 2 TO n - 1 DO
    IF n MOD d = 0 THEN
    BEGIN
      FirstDivisor := d;
      EXIT
    END
END;

FUNCTION Sign(n: Integer): Integer;
BEGIN
  Result := 0;
  IF n = 0 THEN EXIT;
  IF n > 0 THEN Result := 1 ELSE Result := -1
END;

PROCEDURE Countdown(n: Integer);
BEGIN
  WHILE TRUE DO
  BEGIN
    IF n = 0 THEN
    BEGIN
      WriteLn('liftoff');
      EXIT
    END;
    Write(IntToStr(n) + ' ');
    n := n - 1
  END;
  WriteLn('never printed')
END;

BEGIN
  FOR i := 2 TO 16 DO
    WriteLn('first divisor of ' + IntToStr(i) + ' is ' + IntToStr(FirstDivisor(i)));
  WriteLn('signs: ' + IntToStr(Sign(-8)) + ' ' + IntToStr(Sign(0)) + ' ' + IntToStr(Sign(3)));
  Countdown(5);
  FOR i := 1 TO 3 DO Countdown(i);
  WriteLn('main goes on');
  EXIT;
  WriteLn('not printed: EXIT in the main program ends it')
END.
