PROGRAM BenchStrings;
{ Benchmark: strings built by concatenation, numbers turned into text, string comparison. }
CONST
  Rounds = 100000;
VAR
  s, best: String;
  i, r, total: Integer;

BEGIN
  total := 0;
  best := '';
  FOR r := 1 TO Rounds DO
  BEGIN
    s := '';
    i := r;
    WHILE i < r + 40 DO
    BEGIN
      s := s + IntToStr(i MOD 97) + ',';
      i := i + 1
    END;
    IF s > best THEN best := s;
    IF s = best THEN total := total + 1
  END;
  WriteLn('new maxima: ' + IntToStr(total));
  WriteLn('largest: ' + best)
END.
