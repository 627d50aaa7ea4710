PROGRAM StringBuilding;
{ Strings built with +: padding, tables, repetition, numbers in text, the empty string. }
VAR
  i, j: Integer;
  line, s: String;

FUNCTION PadLeft(t: String; width: Integer; count: Integer): String;
VAR
  k: Integer;
BEGIN
  Result := t;
  FOR k := count + 1 TO width DO Result := ' ' + Result
END;

FUNCTION Digits(n: Integer): Integer;
BEGIN
  Result := 1;
  WHILE n >= 10 DO
  BEGIN
    n := n DIV 10;
    Result := Result + 1
  END
END;

FUNCTION Num(n, width: Integer): String;
BEGIN
  Num := PadLeft(IntToStr(n), width, Digits(n))
END;

FUNCTION Stars(n: Integer): String;
BEGIN
  IF n = 0 THEN Stars := '' ELSE Stars := Stars(n - 1) + '*'
END;

BEGIN
  WriteLn('multiplication table:');
  FOR i := 1 TO 9 DO
  BEGIN
    line := '';
    FOR j := 1 TO 9 DO line := line + Num(i * j, 4);
    WriteLn(line)
  END;
  FOR i := 1 TO 5 DO WriteLn(Num(i, 2) + ' ' + Stars(i * 2));
  s := '';
  IF s = '' THEN WriteLn('empty string is equal to ''''');
  s := s + '' + 'x' + '';
  WriteLn('[' + s + ']');
  s := 'a';
  FOR i := 1 TO 5 DO s := s + s;
  WriteLn(s);
  line := 'Total: ' + IntToStr(123) + ' items, ' + FloatToStr(45.5) + ' kg, ' + IntToStr(-7) + ' left';
  WriteLn(line);
  s := 'x';
  s := s + s + s;
  WriteLn(s + ' ' + s);
  WriteLn('quote: ''' + 'inside' + '''')
END.
