PROGRAM BenchFibVar;
{ Variant of fib: a procedure with a VAR result, the base case tested the other way round. }
CONST
  N = 39;
VAR
  result: Integer;

PROCEDURE Fib(k: Integer; VAR r: Integer);
VAR
  a, b: Integer;
BEGIN
  IF 2 > k THEN r := k
  ELSE
  BEGIN
    Fib(k - 1, a);
    Fib(k - 2, b);
    r := a + b
  END
END;

BEGIN
  Fib(N, result);
  WriteLn('fib(' + IntToStr(N) + ') = ' + IntToStr(result))
END.
