PROGRAM TypesAndAliases;
{ TYPE declarations: aliases, arrays and records named once and used everywhere. }
CONST
  Size = 5;
TYPE
  Count = Integer;
  Amount = Real;
  Name = String;
  Flag = Boolean;
  Counts = ARRAY[1..Size] OF Count;
  Point = RECORD
    x, y: Amount
  END;
  Points = ARRAY[0..2] OF Point;
VAR
  c: Count;
  total: Amount;
  who: Name;
  ok: Flag;
  list: Counts;
  copy: Counts;
  pts: Points;
  i: Integer;

FUNCTION Twice(v: Count): Count;
BEGIN
  Twice := v * 2
END;

BEGIN
  c := 21;
  c := Twice(c);
  total := c;
  total := total / 4;
  who := 'alias';
  ok := c = 42;
  WriteLn('c = ' + IntToStr(c) + ', total = ' + FloatToStr(total) + ', who = ' + who);
  IF ok THEN WriteLn('ok');
  FOR i := 1 TO Size DO list[i] := i * 10;
  copy := list;
  list[1] := -1;
  FOR i := 1 TO Size DO
    WriteLn('list[' + IntToStr(i) + '] = ' + IntToStr(list[i]) + ', copy = ' + IntToStr(copy[i]));
  FOR i := 0 TO 2 DO
  BEGIN
    pts[i].x := i;
    pts[i].y := i * 0.5
  END;
  FOR i := 0 TO 2 DO
    WriteLn('(' + FloatToStr(pts[i].x) + ', ' + FloatToStr(pts[i].y) + ')')
END.
