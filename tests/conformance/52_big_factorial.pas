PROGRAM BigFactorial;
{ Exact factorials and powers of two with many digits, kept in an array of base-10000 limbs. }
CONST
  Limbs = 60;
  Base = 10000;
TYPE
  Big = RECORD
    used: Integer;
    limb: ARRAY[1..Limbs] OF Integer
  END;
VAR
  f: Big;
  i: Integer;

PROCEDURE SetSmall(VAR x: Big; v: Integer);
BEGIN
  x.used := 1;
  x.limb[1] := v
END;

PROCEDURE MulSmall(VAR x: Big; m: Integer);
VAR
  k, carry, t: Integer;
BEGIN
  carry := 0;
  FOR k := 1 TO x.used DO
  BEGIN
    t := x.limb[k] * m + carry;
    x.limb[k] := t MOD Base;
    carry := t DIV Base
  END;
  WHILE carry > 0 DO
  BEGIN
    x.used := x.used + 1;
    x.limb[x.used] := carry MOD Base;
    carry := carry DIV Base
  END
END;

FUNCTION BigText(VAR x: Big): String;
VAR
  k: Integer;
  s, part: String;
BEGIN
  s := IntToStr(x.limb[x.used]);
  FOR k := x.used - 1 DOWNTO 1 DO
  BEGIN
    part := IntToStr(x.limb[k]);
    IF x.limb[k] < 1000 THEN part := '0' + part;
    IF x.limb[k] < 100 THEN part := '0' + part;
    IF x.limb[k] < 10 THEN part := '0' + part;
    s := s + part
  END;
  BigText := s
END;

FUNCTION DigitSum(VAR x: Big): Integer;
VAR
  k, v: Integer;
BEGIN
  Result := 0;
  FOR k := 1 TO x.used DO
  BEGIN
    v := x.limb[k];
    WHILE v > 0 DO
    BEGIN
      Result := Result + v MOD 10;
      v := v DIV 10
    END
  END
END;

BEGIN
  SetSmall(f, 1);
  FOR i := 1 TO 60 DO
  BEGIN
    MulSmall(f, i);
    IF (i MOD 10 = 0) OR (i < 5) THEN WriteLn(IntToStr(i) + '! = ' + BigText(f))
  END;
  WriteLn('digit sum of 60! = ' + IntToStr(DigitSum(f)));
  SetSmall(f, 1);
  FOR i := 1 TO 200 DO MulSmall(f, 2);
  WriteLn('2^200 = ' + BigText(f));
  SetSmall(f, 1);
  FOR i := 1 TO 100 DO MulSmall(f, i);
  WriteLn('digit sum of 100! = ' + IntToStr(DigitSum(f)))
END.
