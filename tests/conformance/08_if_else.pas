PROGRAM IfElse;
{ IF with and without ELSE, nesting and the dangling ELSE. }
VAR
  i: Integer;

PROCEDURE Classify(n: Integer);
BEGIN
  Write(IntToStr(n) + ': ');
  IF n < 0 THEN
    WriteLn('negative')
  ELSE IF n = 0 THEN
    WriteLn('zero')
  ELSE IF n < 10 THEN
    WriteLn('small')
  ELSE IF n < 100 THEN
    WriteLn('medium')
  ELSE
    WriteLn('large')
END;

BEGIN
  Classify(-5);
  Classify(0);
  Classify(7);
  Classify(42);
  Classify(1000);
  FOR i := 1 TO 4 DO
    IF i > 1 THEN
      IF ODD(i) THEN WriteLn(IntToStr(i) + ' odd and > 1')
      ELSE WriteLn(IntToStr(i) + ' even and > 1');
  IF TRUE THEN WriteLn('constant true') ELSE WriteLn('never');
  IF FALSE THEN WriteLn('never') ELSE WriteLn('constant false');
  IF FALSE THEN WriteLn('never');
  IF 1 < 2 THEN
  BEGIN
    WriteLn('compound');
    WriteLn('then branch')
  END
  ELSE
  BEGIN
    WriteLn('compound');
    WriteLn('else branch')
  END;
  i := 3;
  IF i = 3 THEN ;
  IF i = 3 THEN ELSE WriteLn('not three');
  WriteLn('end')
END.
