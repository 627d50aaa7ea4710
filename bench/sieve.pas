PROGRAM BenchSieve;
{ Benchmark: the sieve of Eratosthenes on 50000 Booleans, run many times. }
CONST
  Limit = 50000;
  Rounds = 5000;
VAR
  crossed: ARRAY[2..Limit] OF Boolean;
  i, j, r, count, total: Integer;

BEGIN
  total := 0;
  FOR r := 1 TO Rounds DO
  BEGIN
    FOR i := 2 TO Limit DO crossed[i] := FALSE;
    i := 2;
    WHILE i * i <= Limit DO
    BEGIN
      IF NOT crossed[i] THEN
      BEGIN
        j := i * i;
        WHILE j <= Limit DO
        BEGIN
          crossed[j] := TRUE;
          j := j + i
        END
      END;
      i := i + 1
    END;
    count := 0;
    FOR i := 2 TO Limit DO
      IF NOT crossed[i] THEN count := count + 1;
    total := total + count
  END;
  WriteLn('primes below ' + IntToStr(Limit) + ': ' + IntToStr(count));
  WriteLn('total over ' + IntToStr(Rounds) + ' rounds: ' + IntToStr(total))
END.
