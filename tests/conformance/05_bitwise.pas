PROGRAM Bitwise;
{ AND, OR, XOR, NOT, SHL and SHR on integers. }
VAR
  a, b, i: Integer;

FUNCTION Bin(v: Integer): String;
VAR
  s: String;
  k: Integer;
BEGIN
  s := '';
  FOR k := 1 TO 8 DO
  BEGIN
    IF ODD(v) THEN s := '1' + s ELSE s := '0' + s;
    v := v SHR 1
  END;
  Bin := s
END;

BEGIN
  a := 202;
  b := 83;
  WriteLn('a       = ' + Bin(a) + ' ' + IntToStr(a));
  WriteLn('b       = ' + Bin(b) + ' ' + IntToStr(b));
  WriteLn('a AND b = ' + Bin(a AND b) + ' ' + IntToStr(a AND b));
  WriteLn('a OR b  = ' + Bin(a OR b) + ' ' + IntToStr(a OR b));
  WriteLn('a XOR b = ' + Bin(a XOR b) + ' ' + IntToStr(a XOR b));
  WriteLn('NOT a   = ' + IntToStr(NOT a));
  WriteLn('NOT 0   = ' + IntToStr(NOT 0));
  WriteLn('NOT -1  = ' + IntToStr(NOT (-1)));
  FOR i := 0 TO 10 DO
    WriteLn('1 SHL ' + IntToStr(i) + ' = ' + IntToStr(1 SHL i));
  FOR i := 0 TO 6 DO
    WriteLn('1000 SHR ' + IntToStr(i) + ' = ' + IntToStr(1000 SHR i));
  a := 5;
  WriteLn('5 SHL 28 = ' + IntToStr(a SHL 28));
  WriteLn('12 AND 10 = ' + IntToStr(12 AND 10));
  WriteLn('12 OR 3 SHL 4 = ' + IntToStr(12 OR 3 SHL 4));
  WriteLn('255 XOR 15 = ' + IntToStr(255 XOR 15))
END.
