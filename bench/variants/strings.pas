PROGRAM BenchStringsVar;
{ Variant of strings: the building in a procedure with a VAR String parameter, a REPEAT loop,
  the comparisons swapped. }
CONST
  Rounds = 100000;
VAR
  s, best: String;
  r, total: Integer;

PROCEDURE Build(VAR t: String; from: Integer);
VAR
  i: Integer;
BEGIN
  t := '';
  i := from;
  REPEAT
    t := t + IntToStr(i MOD 97) + ',';
    i := i + 1
  UNTIL i >= from + 40
END;

BEGIN
  total := 0;
  best := '';
  FOR r := 1 TO Rounds DO
  BEGIN
    Build(s, r);
    IF best < s THEN best := s;
    IF best = s THEN total := total + 1
  END;
  WriteLn('new maxima: ' + IntToStr(total));
  WriteLn('largest: ' + best)
END.
