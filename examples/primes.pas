PROGRAM Primes;
{ The prime numbers up to 1000, found with the sieve of Eratosthenes and printed ten to a line. }
CONST
  Limit = 1000;
VAR
  crossed: ARRAY[2..Limit] OF Boolean;
  i, multiple, count: Integer;
  line: String;

FUNCTION Padded(n: Integer): String;
BEGIN
  Result := IntToStr(n);
  IF n < 10 THEN Result := ' ' + Result;
  IF n < 100 THEN Result := ' ' + Result;
  IF n < 1000 THEN Result := ' ' + Result
END;

BEGIN
  FOR i := 2 TO Limit DO crossed[i] := FALSE;
  FOR i := 2 TO Limit DO
    IF NOT crossed[i] THEN
    BEGIN
      multiple := i * i;
      WHILE multiple <= Limit DO
      BEGIN
        crossed[multiple] := TRUE;
        multiple := multiple + i
      END
    END;
  count := 0;
  line := '';
  FOR i := 2 TO Limit DO
    IF NOT crossed[i] THEN
    BEGIN
      count := count + 1;
      line := line + Padded(i) + ' ';
      IF count MOD 10 = 0 THEN
      BEGIN
        WriteLn(line);
        line := ''
      END
    END;
  IF line <> '' THEN WriteLn(line);
  WriteLn('There are ' + IntToStr(count) + ' primes up to ' + IntToStr(Limit) + '.')
END.
