PROGRAM BenchSieveVar;
{ Variant of sieve: the sieve in a function taking the array as a VAR parameter, the clearing
  loop a WHILE with the index one off, the test and the count written other ways. }
CONST
  Limit = 50000;
  Rounds = 5000;
TYPE
  Flags = ARRAY[2..Limit] OF Boolean;
VAR
  crossed: Flags;
  r, count, total: Integer;

FUNCTION Sieve(VAR c: Flags): Integer;
VAR
  i, j, n: Integer;
BEGIN
  i := 1;
  WHILE i < Limit DO
  BEGIN
    c[i + 1] := FALSE;
    i := i + 1
  END;
  i := 2;
  WHILE Limit >= i * i DO
  BEGIN
    IF c[i] = FALSE THEN
    BEGIN
      j := i * i;
      REPEAT
        c[j] := TRUE;
        j := i + j
      UNTIL j > Limit
    END;
    i := i + 1
  END;
  n := 0;
  FOR i := 2 TO Limit DO
    IF NOT c[i] THEN n := n + 1;
  Sieve := n
END;

BEGIN
  total := 0;
  FOR r := 1 TO Rounds DO
  BEGIN
    count := Sieve(crossed);
    total := total + count
  END;
  WriteLn('primes below ' + IntToStr(Limit) + ': ' + IntToStr(count));
  WriteLn('total over ' + IntToStr(Rounds) + ' rounds: ' + IntToStr(total))
END.
