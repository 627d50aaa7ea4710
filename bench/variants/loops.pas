PROGRAM BenchLoopsVar;
{ Variant of loops: WHILE loops in place of the FORs, a temporary, operands swapped. }
CONST
  Outer = 7000;
  Inner = 10000;
VAR
  i, j, sum, x, t: Integer;

BEGIN
  sum := 0;
  i := 1;
  WHILE i <= Outer DO
  BEGIN
    x := i;
    j := 1;
    WHILE j <= Inner DO
    BEGIN
      t := 17 * x;
      x := (j + t) MOD 1000003;
      IF 500000 < x THEN sum := 1 + sum ELSE sum := 2 + sum;
      j := j + 1
    END;
    sum := sum MOD 1000000007;
    i := i + 1
  END;
  WriteLn('checksum: ' + IntToStr(sum) + ' ' + IntToStr(x))
END.
