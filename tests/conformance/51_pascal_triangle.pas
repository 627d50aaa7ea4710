PROGRAM PascalTriangle;
{ Pascal's triangle row by row in one array, centred with blanks; row sums are powers of two. }
CONST
  Rows = 13;
VAR
  row: ARRAY[0..Rows] OF Integer;
  n, k, sum: Integer;
  line, pad: String;

BEGIN
  row[0] := 1;
  FOR n := 0 TO Rows - 1 DO
  BEGIN
    IF n > 0 THEN
    BEGIN
      row[n] := 1;
      FOR k := n - 1 DOWNTO 1 DO row[k] := row[k] + row[k - 1]
    END;
    pad := '';
    FOR k := 1 TO (Rows - 1 - n) * 2 DO pad := pad + ' ';
    line := '';
    sum := 0;
    FOR k := 0 TO n DO
    BEGIN
      IF row[k] < 10 THEN line := line + '   '
      ELSE IF row[k] < 100 THEN line := line + '  '
      ELSE IF row[k] < 1000 THEN line := line + ' ';
      line := line + IntToStr(row[k]);
      sum := sum + row[k]
    END;
    WriteLn(pad + line + '   = ' + IntToStr(sum))
  END
END.
