PROGRAM Series;
{ Real computations: e and pi from series, Newton's square root, compound interest,
  a numeric integral by Simpson's rule. }
VAR
  e, term, piSum, x, h, s, balance: Real;
  i, k: Integer;

FUNCTION F(t: Real): Real;
BEGIN
  F := 4 / (1 + t * t)
END;

BEGIN
  e := 1;
  term := 1;
  FOR i := 1 TO 20 DO
  BEGIN
    term := term / i;
    e := e + term
  END;
  WriteLn('e = ' + FloatToStr(e));
  piSum := 0;
  FOR k := 0 TO 999 DO
    IF ODD(k) THEN piSum := piSum - 4 / (2 * k + 1) ELSE piSum := piSum + 4 / (2 * k + 1);
  WriteLn('Leibniz pi, 1000 terms = ' + FloatToStr(piSum));
  x := 1;
  FOR i := 1 TO 8 DO
  BEGIN
    x := (x + 2 / x) / 2;
    WriteLn('sqrt 2, step ' + IntToStr(i) + ': ' + FloatToStr(x))
  END;
  balance := 1000;
  FOR i := 1 TO 10 DO balance := balance * 1.05;
  WriteLn('1000 at 5% for 10 years = ' + FloatToStr(balance));
  WriteLn('rounded to cents = ' + FloatToStr(Round(balance * 100) / 100));
  h := 1 / 100;
  s := F(0) + F(1);
  FOR i := 1 TO 99 DO
    IF ODD(i) THEN s := s + 4 * F(i * h) ELSE s := s + 2 * F(i * h);
  WriteLn('Simpson pi = ' + FloatToStr(s * h / 3))
END.
