PROGRAM Pointers;
{ Pointers made with @ and followed with ^: to integers, reals, strings, records and
  array elements; NIL; pointers as parameters. }
TYPE
  PInt = ^Integer;
  PReal = ^Real;
  PStr = ^String;
  Point = RECORD
    x, y: Integer
  END;
  PPoint = ^Point;
VAR
  i, j: Integer;
  r: Real;
  s: String;
  pt: Point;
  pts: ARRAY[1..3] OF Point;
  pi1, pi2: PInt;
  pr: PReal;
  ps: PStr;
  pp: PPoint;
  k: Integer;

PROCEDURE AddTo(p: PInt; amount: Integer);
BEGIN
  p^ := p^ + amount
END;

PROCEDURE Shift(p: PPoint; dx, dy: Integer);
BEGIN
  p^.x := p^.x + dx;
  p^.y := p^.y + dy
END;

FUNCTION Larger(a, b: PInt): PInt;
BEGIN
  IF a^ >= b^ THEN Larger := a ELSE Larger := b
END;

BEGIN
  i := 10;
  j := 20;
  pi1 := @i;
  pi2 := @j;
  pi1^ := pi1^ + 5;
  WriteLn('i = ' + IntToStr(i) + ', via pointer ' + IntToStr(pi1^));
  AddTo(pi2, 100);
  AddTo(@i, 1);
  WriteLn('i = ' + IntToStr(i) + ', j = ' + IntToStr(j));
  pi1 := Larger(pi1, pi2);
  pi1^ := 0;
  WriteLn('after zeroing the larger: i = ' + IntToStr(i) + ', j = ' + IntToStr(j));
  pi2 := pi1;
  IF pi2 = pi1 THEN WriteLn('same target');
  pi2^ := 77;
  WriteLn('i = ' + IntToStr(i));
  r := 1.5;
  pr := @r;
  pr^ := pr^ * 4;
  WriteLn('r = ' + FloatToStr(r));
  s := 'abc';
  ps := @s;
  ps^ := ps^ + 'def';
  WriteLn('s = ' + s);
  pt.x := 1;
  pt.y := 2;
  pp := @pt;
  Shift(pp, 10, 20);
  WriteLn('pt = ' + IntToStr(pt.x) + ',' + IntToStr(pt.y));
  FOR k := 1 TO 3 DO
  BEGIN
    pts[k].x := k;
    pts[k].y := -k
  END;
  pp := @pts[2];
  pp^.x := 200;
  Shift(@pts[3], 300, 300);
  FOR k := 1 TO 3 DO
    WriteLn('pts[' + IntToStr(k) + '] = ' + IntToStr(pts[k].x) + ',' + IntToStr(pts[k].y));
  pp := NIL;
  IF pp = NIL THEN WriteLn('pp is NIL');
  pp := @pts[1];
  IF pp <> NIL THEN WriteLn('pp is not NIL: ' + IntToStr(pp^.x))
END.
