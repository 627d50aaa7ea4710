PROGRAM WhileLoops;
{ WHILE loops: counting, a condition false at once, digit sums, nested loops. }
VAR
  i, j, n, s: Integer;
  line: String;

BEGIN
  i := 1;
  WHILE i <= 5 DO
  BEGIN
    WriteLn('i = ' + IntToStr(i));
    i := i + 1
  END;
  WHILE i < 0 DO WriteLn('never');
  n := 987654321;
  s := 0;
  WHILE n > 0 DO
  BEGIN
    s := s + n MOD 10;
    n := n DIV 10
  END;
  WriteLn('digit sum = ' + IntToStr(s));
  i := 1;
  WHILE i <= 4 DO
  BEGIN
    line := '';
    j := 1;
    WHILE j <= i DO
    BEGIN
      line := line + '*';
      j := j + 1
    END;
    WriteLn(line);
    i := i + 1
  END;
  n := 1;
  WHILE n < 1000 DO n := n * 3;
  WriteLn('first power of 3 >= 1000: ' + IntToStr(n))
END.
