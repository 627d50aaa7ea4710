PROGRAM BenchInsertionSortVar;
{ Variant of insertion_sort: the sort in a procedure taking the array as a VAR parameter, a
  REPEAT loop in place of the FOR, the inner WHILE comparing the element first. }
CONST
  N = 3000;
  Rounds = 150;
TYPE
  Numbers = ARRAY[0..N] OF Integer;
VAR
  a: Numbers;
  i, r, seed, bad, check: Integer;

PROCEDURE Sort(VAR x: Numbers; n: Integer);
VAR
  i, j, v: Integer;
BEGIN
  i := 2;
  REPEAT
    v := x[i];
    j := i - 1;
    WHILE (j >= 1) AND (v < x[j]) DO
    BEGIN
      x[j + 1] := x[j];
      j := j - 1
    END;
    x[j + 1] := v;
    i := i + 1
  UNTIL i > n
END;

BEGIN
  seed := 7;
  bad := 0;
  check := 0;
  FOR r := 1 TO Rounds DO
  BEGIN
    FOR i := 1 TO N DO
    BEGIN
      seed := (seed * 1103 + 12345) MOD 1048576;
      a[i] := seed
    END;
    Sort(a, N);
    FOR i := 1 TO N - 1 DO
      IF a[i + 1] < a[i] THEN bad := bad + 1;
    check := (check + a[1] + a[N DIV 2] + a[N]) MOD 1000000
  END;
  WriteLn('out of order: ' + IntToStr(bad) + ', checksum: ' + IntToStr(check))
END.
