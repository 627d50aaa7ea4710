PROGRAM VarParams;
{ VAR parameters of every type: the procedure works on the caller's variable. }
TYPE
  Pair = RECORD
    a, b: Integer
  END;
  Row = ARRAY[1..4] OF Integer;
VAR
  x, y: Integer;
  r1, r2: Real;
  s1, s2: String;
  p: Pair;
  numbers: Row;
  i: Integer;
  flag: Boolean;

PROCEDURE SwapInt(VAR a, b: Integer);
VAR
  t: Integer;
BEGIN
  t := a;
  a := b;
  b := t
END;

PROCEDURE SwapReal(VAR a, b: Real);
VAR
  t: Real;
BEGIN
  t := a;
  a := b;
  b := t
END;

PROCEDURE SwapStr(VAR a, b: String);
VAR
  t: String;
BEGIN
  t := a;
  a := b;
  b := t
END;

PROCEDURE Order(VAR q: Pair);
BEGIN
  IF q.a > q.b THEN SwapInt(q.a, q.b)
END;

PROCEDURE Fill(VAR r: Row; start: Integer);
VAR
  k: Integer;
BEGIN
  FOR k := 1 TO 4 DO r[k] := start + k
END;

PROCEDURE Toggle(VAR f: Boolean);
BEGIN
  f := NOT f
END;

PROCEDURE DivMod(a, b: Integer; VAR q, m: Integer);
BEGIN
  q := a DIV b;
  m := a MOD b
END;

PROCEDURE Inner(VAR v: Integer);
BEGIN
  v := v * 2
END;

PROCEDURE Outer(VAR v: Integer);
BEGIN
  Inner(v);
  v := v + 1
END;

BEGIN
  x := 1;
  y := 2;
  SwapInt(x, y);
  WriteLn('x = ' + IntToStr(x) + ', y = ' + IntToStr(y));
  r1 := 1.5;
  r2 := -2.25;
  SwapReal(r1, r2);
  WriteLn('r1 = ' + FloatToStr(r1) + ', r2 = ' + FloatToStr(r2));
  s1 := 'left';
  s2 := 'right';
  SwapStr(s1, s2);
  WriteLn('s1 = ' + s1 + ', s2 = ' + s2);
  p.a := 9;
  p.b := 4;
  Order(p);
  WriteLn('pair = ' + IntToStr(p.a) + ' ' + IntToStr(p.b));
  Fill(numbers, 10);
  FOR i := 1 TO 4 DO Write(IntToStr(numbers[i]) + ' ');
  WriteLn('');
  SwapInt(numbers[1], numbers[4]);
  WriteLn('row[1] = ' + IntToStr(numbers[1]) + ', row[4] = ' + IntToStr(numbers[4]));
  flag := FALSE;
  Toggle(flag);
  IF flag THEN WriteLn('flag toggled');
  DivMod(47, 5, x, y);
  WriteLn('47 = 5 * ' + IntToStr(x) + ' + ' + IntToStr(y));
  x := 5;
  Outer(x);
  Outer(x);
  WriteLn('x = ' + IntToStr(x))
END.
