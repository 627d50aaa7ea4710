PROGRAM Factorization;
{ Trial division: prime factors, divisor counts, perfect numbers, greatest common divisor
  and least common multiple. }
VAR
  n: Integer;

FUNCTION Factors(v: Integer): String;
VAR
  d, e: Integer;
  s: String;
BEGIN
  s := '';
  d := 2;
  WHILE d * d <= v DO
  BEGIN
    e := 0;
    WHILE v MOD d = 0 DO
    BEGIN
      v := v DIV d;
      e := e + 1
    END;
    IF e > 0 THEN
    BEGIN
      IF s <> '' THEN s := s + ' * ';
      s := s + IntToStr(d);
      IF e > 1 THEN s := s + '^' + IntToStr(e)
    END;
    d := d + 1
  END;
  IF v > 1 THEN
  BEGIN
    IF s <> '' THEN s := s + ' * ';
    s := s + IntToStr(v)
  END;
  Factors := s
END;

FUNCTION DivisorSum(v: Integer): Integer;
VAR
  d: Integer;
BEGIN
  Result := 0;
  FOR d := 1 TO v DIV 2 DO
    IF v MOD d = 0 THEN Result := Result + d
END;

FUNCTION Gcd(a, b: Integer): Integer;
VAR
  t: Integer;
BEGIN
  WHILE b <> 0 DO
  BEGIN
    t := a MOD b;
    a := b;
    b := t
  END;
  Gcd := a
END;

FUNCTION Lcm(a, b: Integer): Integer;
BEGIN
  Lcm := a DIV Gcd(a, b) * b
END;

BEGIN
  WriteLn('360 = ' + Factors(360));
  WriteLn('97 = ' + Factors(97));
  WriteLn('1001 = ' + Factors(1001));
  WriteLn('65536 = ' + Factors(65536));
  WriteLn('2147483646 = ' + Factors(2147483646));
  WriteLn('999999937 = ' + Factors(999999937));
  FOR n := 2 TO 1000 DO
    IF DivisorSum(n) = n THEN WriteLn('perfect: ' + IntToStr(n));
  WriteLn('gcd(462, 1071) = ' + IntToStr(Gcd(462, 1071)));
  WriteLn('lcm(4, 6) = ' + IntToStr(Lcm(4, 6)));
  FOR n := 1 TO 20 DO
    WriteLn('lcm(' + IntToStr(n) + ', 12) = ' + IntToStr(Lcm(n, 12)))
END.
