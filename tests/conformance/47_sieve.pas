PROGRAM Sieve;
{ The sieve of Eratosthenes on a Boolean array; primes counted, listed and summed. }
CONST
  Limit = 5000;
VAR
  composite: ARRAY[2..Limit] OF Boolean;
  i, j, count, sum, last, twins: Integer;
  line: String;

BEGIN
  FOR i := 2 TO Limit DO composite[i] := FALSE;
  i := 2;
  WHILE i * i <= Limit DO
  BEGIN
    IF NOT composite[i] THEN
    BEGIN
      j := i * i;
      WHILE j <= Limit DO
      BEGIN
        composite[j] := TRUE;
        j := j + i
      END
    END;
    i := i + 1
  END;
  count := 0;
  sum := 0;
  last := 0;
  twins := 0;
  line := '';
  FOR i := 2 TO Limit DO
    IF NOT composite[i] THEN
    BEGIN
      count := count + 1;
      sum := sum + i;
      IF i - last = 2 THEN twins := twins + 1;
      last := i;
      IF i < 100 THEN line := line + IntToStr(i) + ' '
    END;
  WriteLn('primes below 100: ' + line);
  WriteLn('primes up to ' + IntToStr(Limit) + ': ' + IntToStr(count));
  WriteLn('their sum: ' + IntToStr(sum));
  WriteLn('largest: ' + IntToStr(last));
  WriteLn('twin pairs: ' + IntToStr(twins))
END.
