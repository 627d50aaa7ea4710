PROGRAM ForLoops;
{ FOR ... TO and FOR ... DOWNTO: bounds from expressions, empty ranges, a limit read once. }
VAR
  i, j, n, s: Integer;
  line: String;

BEGIN
  line := '';
  FOR i := 1 TO 10 DO line := line + IntToStr(i) + ' ';
  WriteLn(line);
  line := '';
  FOR i := 10 DOWNTO 1 DO line := line + IntToStr(i) + ' ';
  WriteLn(line);
  line := '';
  FOR i := -3 TO 3 DO line := line + IntToStr(i) + ' ';
  WriteLn(line);
  FOR i := 1 TO 0 DO WriteLn('never');
  FOR i := 0 DOWNTO 1 DO WriteLn('never');
  FOR i := 5 TO 5 DO WriteLn('exactly once: ' + IntToStr(i));
  n := 3;
  s := 0;
  FOR i := 1 TO n DO
  BEGIN
    n := n + 1;
    s := s + 1
  END;
  WriteLn('body ran ' + IntToStr(s) + ' times, n is now ' + IntToStr(n));
  n := 4;
  FOR i := 1 TO n DO
  BEGIN
    line := '';
    FOR j := i TO n DO line := line + '#';
    WriteLn(line)
  END;
  s := 0;
  FOR i := 1 TO 100 DO s := s + i;
  WriteLn('sum 1..100 = ' + IntToStr(s));
  s := 0;
  FOR i := 2 * 3 DOWNTO 10 DIV 5 DO s := s + i;
  WriteLn('sum 6 downto 2 = ' + IntToStr(s));
  s := 1;
  FOR i := 1 TO 3 DO
    FOR j := 1 TO 3 DO
      s := s + i * j;
  WriteLn('nested = ' + IntToStr(s))
END.
