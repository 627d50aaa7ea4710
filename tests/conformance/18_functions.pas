PROGRAM Functions;
{ Functions of every result type; the result through the function name or Result. }
TYPE
  Point = RECORD
    x, y: Integer
  END;
VAR
  p: Point;
  i: Integer;

FUNCTION Square(n: Integer): Integer;
BEGIN
  Square := n * n
END;

FUNCTION Cube(n: Integer): Integer;
BEGIN
  Result := n * Square(n)
END;

FUNCTION Average(a, b, c: Real): Real;
BEGIN
  Result := (a + b + c) / 3
END;

FUNCTION IsEven(n: Integer): Boolean;
BEGIN
  IsEven := NOT ODD(n)
END;

FUNCTION Repeated(t: String; n: Integer): String;
VAR
  k: Integer;
BEGIN
  Result := '';
  FOR k := 1 TO n DO Result := Result + t
END;

FUNCTION MakePoint(x, y: Integer): Point;
BEGIN
  Result.x := x;
  Result.y := y
END;

FUNCTION Max3(a, b, c: Integer): Integer;
BEGIN
  Result := a;
  IF b > Result THEN Result := b;
  IF c > Result THEN Result := c
END;

FUNCTION Seven: Integer;
BEGIN
  Seven := 7
END;

BEGIN
  FOR i := 1 TO 5 DO
    WriteLn(IntToStr(i) + ' ' + IntToStr(Square(i)) + ' ' + IntToStr(Cube(i)));
  WriteLn('average = ' + FloatToStr(Average(1, 2.5, 4)));
  IF IsEven(10) AND NOT IsEven(7) THEN WriteLn('parity ok');
  WriteLn(Repeated('ab', 4));
  WriteLn('[' + Repeated('x', 0) + ']');
  p := MakePoint(3, -4);
  WriteLn('point = (' + IntToStr(p.x) + ', ' + IntToStr(p.y) + ')');
  WriteLn('max = ' + IntToStr(Max3(3, 9, 4)) + ' ' + IntToStr(Max3(8, 2, 1)) + ' ' + IntToStr(Max3(1, 2, 5)));
  WriteLn('seven squared = ' + IntToStr(Square(Seven)));
  WriteLn('nested calls = ' + IntToStr(Square(Square(Seven - 5)) + Cube(Seven DIV 3)));
  Square(3);
  Seven;
  WriteLn('functions called as statements are fine')
END.
