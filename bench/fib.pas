PROGRAM BenchFib;
{ Benchmark: doubly recursive Fibonacci numbers (calls and returns). }
CONST
  N = 39;

FUNCTION Fib(k: Integer): Integer;
BEGIN
  IF k < 2 THEN Fib := k ELSE Fib := Fib(k - 1) + Fib(k - 2)
END;

BEGIN
  WriteLn('fib(' + IntToStr(N) + ') = ' + IntToStr(Fib(N)))
END.
