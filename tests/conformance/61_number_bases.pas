PROGRAM NumberBases;
{ Integers written in bases 2 to 16 with a digit table; back again by Horner's rule. }
CONST
  DigitCount = 16;
TYPE
  DigitTable = ARRAY[0..15] OF String;
VAR
  digit: DigitTable;
  i, b: Integer;
  line: String;

FUNCTION ToBase(n, base: Integer): String;
VAR
  neg: Boolean;
BEGIN
  IF n = 0 THEN
  BEGIN
    ToBase := '0';
    EXIT
  END;
  neg := n < 0;
  IF neg THEN n := -n;
  Result := '';
  WHILE n > 0 DO
  BEGIN
    Result := digit[n MOD base] + Result;
    n := n DIV base
  END;
  IF neg THEN Result := '-' + Result
END;

{ The digits of n in base 'base' are read back from the number itself, digit by digit. }
FUNCTION RoundTrip(n, base: Integer): Integer;
VAR
  p, v: Integer;
BEGIN
  p := 1;
  v := 0;
  WHILE n > 0 DO
  BEGIN
    v := v + (n MOD base) * p;
    p := p * base;
    n := n DIV base
  END;
  RoundTrip := v
END;

BEGIN
  FOR i := 0 TO DigitCount - 1 DO
    IF i < 10 THEN digit[i] := IntToStr(i)
    ELSE IF i = 10 THEN digit[i] := 'A'
    ELSE IF i = 11 THEN digit[i] := 'B'
    ELSE IF i = 12 THEN digit[i] := 'C'
    ELSE IF i = 13 THEN digit[i] := 'D'
    ELSE IF i = 14 THEN digit[i] := 'E'
    ELSE digit[i] := 'F';
  FOR b := 2 TO 16 DO
    WriteLn('255 in base ' + IntToStr(b) + ' = ' + ToBase(255, b));
  WriteLn('2147483647 hex = ' + ToBase(2147483647, 16));
  WriteLn('-1000 binary = ' + ToBase(-1000, 2));
  WriteLn('0 = ' + ToBase(0, 7));
  line := '';
  FOR i := 0 TO 16 DO line := line + ToBase(i, 2) + ' ';
  WriteLn(line);
  IF RoundTrip(123456, 7) = 123456 THEN WriteLn('round trip ok')
END.
