PROGRAM Arrays2D;
{ Two- and three-dimensional arrays, a[i, j] and a[i][j] are the same element. }
TYPE
  Grid = ARRAY[1..4, 1..5] OF Integer;
  Row = ARRAY[1..5] OF Integer;
  Rows = ARRAY[1..3] OF Row;
VAR
  g: Grid;
  rs: Rows;
  cube: ARRAY[0..2, 0..2, 0..2] OF Integer;
  i, j, k, s: Integer;
  line: String;

BEGIN
  FOR i := 1 TO 4 DO
    FOR j := 1 TO 5 DO
      g[i, j] := i * 10 + j;
  FOR i := 1 TO 4 DO
  BEGIN
    line := '';
    FOR j := 1 TO 5 DO line := line + IntToStr(g[i][j]) + ' ';
    WriteLn(line)
  END;
  g[2][3] := 0;
  WriteLn('g[2, 3] = ' + IntToStr(g[2, 3]));
  FOR i := 1 TO 3 DO
    FOR j := 1 TO 5 DO
      rs[i][j] := i * j;
  rs[2] := rs[3];
  FOR i := 1 TO 3 DO
  BEGIN
    line := '';
    FOR j := 1 TO 5 DO line := line + IntToStr(rs[i, j]) + ' ';
    WriteLn('rs ' + IntToStr(i) + ': ' + line)
  END;
  s := 0;
  FOR i := 0 TO 2 DO
    FOR j := 0 TO 2 DO
      FOR k := 0 TO 2 DO
      BEGIN
        cube[i, j, k] := i * 9 + j * 3 + k;
        s := s + cube[i][j][k]
      END;
  WriteLn('cube sum = ' + IntToStr(s) + ', centre = ' + IntToStr(cube[1, 1, 1]) +
          ', corner = ' + IntToStr(cube[2][2, 2]));
  s := 0;
  FOR i := 1 TO 4 DO s := s + g[i, i];
  WriteLn('diagonal = ' + IntToStr(s))
END.
