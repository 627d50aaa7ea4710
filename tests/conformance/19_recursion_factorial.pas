PROGRAM RecursionFactorial;
{ Recursive functions: factorial, power, digit reversal, greatest common divisor. }
VAR
  i: Integer;

FUNCTION Fact(n: Integer): Integer;
BEGIN
  IF n <= 1 THEN Fact := 1 ELSE Fact := n * Fact(n - 1)
END;

FUNCTION FactReal(n: Integer): Real;
BEGIN
  IF n <= 1 THEN Result := 1 ELSE Result := n * FactReal(n - 1)
END;

FUNCTION Power(base, e: Integer): Integer;
VAR
  half: Integer;
BEGIN
  IF e = 0 THEN Power := 1
  ELSE
  BEGIN
    half := Power(base, e DIV 2);
    IF ODD(e) THEN Power := half * half * base ELSE Power := half * half
  END
END;

FUNCTION Gcd(a, b: Integer): Integer;
BEGIN
  IF b = 0 THEN Gcd := a ELSE Gcd := Gcd(b, a MOD b)
END;

FUNCTION Reversed(n: Integer; acc: Integer): Integer;
BEGIN
  IF n = 0 THEN Reversed := acc ELSE Reversed := Reversed(n DIV 10, acc * 10 + n MOD 10)
END;

FUNCTION SumTo(n: Integer): Integer;
BEGIN
  IF n = 0 THEN Result := 0 ELSE Result := n + SumTo(n - 1)
END;

BEGIN
  FOR i := 0 TO 12 DO
    WriteLn(IntToStr(i) + '! = ' + IntToStr(Fact(i)));
  WriteLn('20! = ' + FloatToStr(FactReal(20)));
  WriteLn('25! = ' + FloatToStr(FactReal(25)));
  WriteLn('2^30 = ' + IntToStr(Power(2, 30)));
  WriteLn('3^19 = ' + IntToStr(Power(3, 19)));
  WriteLn('gcd(1071, 462) = ' + IntToStr(Gcd(1071, 462)));
  WriteLn('gcd(17, 5) = ' + IntToStr(Gcd(17, 5)));
  WriteLn('reversed 123456789 = ' + IntToStr(Reversed(123456789, 0)));
  WriteLn('sum to 1000 = ' + IntToStr(SumTo(1000)))
END.
