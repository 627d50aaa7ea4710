PROGRAM BenchLoops;
{ Benchmark: nested integer loops with arithmetic, comparisons and a running checksum. }
CONST
  Outer = 7000;
  Inner = 10000;
VAR
  i, j, sum, x: Integer;

BEGIN
  sum := 0;
  FOR i := 1 TO Outer DO
  BEGIN
    x := i;
    FOR j := 1 TO Inner DO
    BEGIN
      x := (x * 17 + j) MOD 1000003;
      IF x > 500000 THEN sum := sum + 1 ELSE sum := sum + 2
    END;
    sum := sum MOD 1000000007
  END;
  WriteLn('checksum: ' + IntToStr(sum) + ' ' + IntToStr(x))
END.
