PROGRAM BenchInsertionSort;
{ Benchmark: insertion sort of pseudo-random integers, repeated; checks order and a checksum. }
CONST
  N = 3000;
  Rounds = 150;
VAR
  a: ARRAY[0..N] OF Integer;
  i, j, r, v, seed, bad, check: Integer;
  moving: Boolean;

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
    FOR i := 2 TO N DO
    BEGIN
      v := a[i];
      j := i - 1;
      moving := TRUE;
      WHILE moving DO
        IF j < 1 THEN moving := FALSE
        ELSE IF a[j] <= v THEN moving := FALSE
        ELSE
        BEGIN
          a[j + 1] := a[j];
          j := j - 1
        END;
      a[j + 1] := v
    END;
    FOR i := 1 TO N - 1 DO
      IF a[i] > a[i + 1] THEN bad := bad + 1;
    check := (check + a[1] + a[N DIV 2] + a[N]) MOD 1000000
  END;
  WriteLn('out of order: ' + IntToStr(bad) + ', checksum: ' + IntToStr(check))
END.
