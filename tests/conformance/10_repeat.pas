PROGRAM RepeatLoops;
{ REPEAT ... UNTIL: runs at least once, several statements in its body. }
VAR
  i, n, steps: Integer;
  s: String;

BEGIN
  i := 0;
  REPEAT
    i := i + 1;
    WriteLn('pass ' + IntToStr(i))
  UNTIL i >= 3;
  i := 100;
  REPEAT
    WriteLn('runs once with i = ' + IntToStr(i))
  UNTIL TRUE;
  n := 27;
  steps := 0;
  REPEAT
    IF ODD(n) THEN n := 3 * n + 1 ELSE n := n DIV 2;
    steps := steps + 1
  UNTIL n = 1;
  WriteLn('collatz(27) steps = ' + IntToStr(steps));
  s := '';
  i := 10;
  REPEAT
    s := s + IntToStr(i);
    i := i - 3;
    IF i > 0 THEN s := s + ','
  UNTIL i <= 0;
  WriteLn(s);
  i := 0;
  REPEAT
    i := i + 1;
    IF i = 4 THEN BREAK
  UNTIL FALSE;
  WriteLn('left endless REPEAT at ' + IntToStr(i))
END.
