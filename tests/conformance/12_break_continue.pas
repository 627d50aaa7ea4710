PROGRAM BreakContinue;
{ BREAK and CONTINUE in FOR and WHILE loops, BREAK in REPEAT; the innermost loop is meant. }
VAR
  i, j, count: Integer;
  line: String;

BEGIN
  line := '';
  FOR i := 1 TO 20 DO
  BEGIN
    IF i MOD 3 = 0 THEN CONTINUE;
    IF i > 14 THEN BREAK;
    line := line + IntToStr(i) + ' '
  END;
  WriteLn('for: ' + line);
  line := '';
  i := 0;
  WHILE i < 20 DO
  BEGIN
    i := i + 1;
    IF ODD(i) THEN CONTINUE;
    IF i = 12 THEN BREAK;
    line := line + IntToStr(i) + ' '
  END;
  WriteLn('while: ' + line);
  line := '';
  i := 0;
  REPEAT
    i := i + 1;
    IF i > 6 THEN BREAK;
    line := line + IntToStr(i) + ' '
  UNTIL i = 100;
  WriteLn('repeat: ' + line);
  count := 0;
  FOR i := 1 TO 5 DO
  BEGIN
    FOR j := 1 TO 5 DO
    BEGIN
      IF j > i THEN BREAK;
      IF j = 2 THEN CONTINUE;
      count := count + 1
    END
  END;
  WriteLn('nested count = ' + IntToStr(count));
  { BREAK out of a FOR loop many times must not leave anything behind. }
  count := 0;
  FOR i := 1 TO 2000 DO
    FOR j := 1 TO 1000 DO
    BEGIN
      count := count + 1;
      BREAK
    END;
  WriteLn('breaks = ' + IntToStr(count));
  count := 0;
  FOR i := 1 TO 10 DO
  BEGIN
    j := 0;
    WHILE TRUE DO
    BEGIN
      j := j + 1;
      IF j >= i THEN BREAK
    END;
    count := count + j
  END;
  WriteLn('while true count = ' + IntToStr(count))
END.
