PROGRAM RecursionFibonacci;
{ Tree recursion (Fibonacci, Ackermann, binomial coefficients) against an iterative check. }
VAR
  i: Integer;
  line: String;

FUNCTION Fib(n: Integer): Integer;
BEGIN
  IF n < 2 THEN Fib := n ELSE Fib := Fib(n - 1) + Fib(n - 2)
END;

FUNCTION FibIter(n: Integer): Integer;
VAR
  a, b, t, k: Integer;
BEGIN
  a := 0;
  b := 1;
  FOR k := 1 TO n DO
  BEGIN
    t := a + b;
    a := b;
    b := t
  END;
  FibIter := a
END;

FUNCTION Ackermann(m, n: Integer): Integer;
BEGIN
  IF m = 0 THEN Result := n + 1
  ELSE IF n = 0 THEN Result := Ackermann(m - 1, 1)
  ELSE Result := Ackermann(m - 1, Ackermann(m, n - 1))
END;

FUNCTION Binom(n, k: Integer): Integer;
BEGIN
  IF (k = 0) OR (k = n) THEN Binom := 1
  ELSE Binom := Binom(n - 1, k - 1) + Binom(n - 1, k)
END;

BEGIN
  line := '';
  FOR i := 0 TO 20 DO line := line + IntToStr(Fib(i)) + ' ';
  WriteLn(line);
  IF Fib(24) = FibIter(24) THEN WriteLn('fib(24) = ' + IntToStr(FibIter(24)));
  WriteLn('fib(45) = ' + IntToStr(FibIter(45)));
  WriteLn('ackermann(2, 3) = ' + IntToStr(Ackermann(2, 3)));
  WriteLn('ackermann(3, 3) = ' + IntToStr(Ackermann(3, 3)));
  FOR i := 0 TO 8 DO
    WriteLn('C(8,' + IntToStr(i) + ') = ' + IntToStr(Binom(8, i)))
END.
