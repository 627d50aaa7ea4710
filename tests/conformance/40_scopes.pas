PROGRAM Scopes;
{ Names in nested scopes: locals hide globals, parameters hide globals, constants and types
  declared in a procedure, sections in any order and repeated. }
CONST
  Limit = 3;
VAR
  x: Integer;
TYPE
  Pair = RECORD
    a, b: Integer
  END;
VAR
  y: Integer;
  pr: Pair;
CONST
  Title = 'scopes';

PROCEDURE ShowX(tag: String);
BEGIN
  WriteLn(tag + ': x=' + IntToStr(x) + ' y=' + IntToStr(y))
END;

PROCEDURE LocalScope;
CONST
  Limit = 5;
TYPE
  Pair = RECORD
    a, b, c: Integer
  END;
VAR
  x: Integer;
  p: Pair;
BEGIN
  x := Limit;
  p.a := 1;
  p.b := 2;
  p.c := 3;
  y := y + 1;
  WriteLn('local x=' + IntToStr(x) + ' local sum=' + IntToStr(p.a + p.b + p.c));
  ShowX('from LocalScope')
END;

PROCEDURE Param(x: Integer);
BEGIN
  x := x * 100;
  WriteLn('param x=' + IntToStr(x))
END;

FUNCTION Outer(n: Integer): Integer;
VAR
  y: Integer;

  FUNCTION Inner(n: Integer): Integer;
  BEGIN
    Inner := n + y
  END;

BEGIN
  y := 1000;
  Outer := Inner(n * 2)
END;

BEGIN
  WriteLn(Title);
  x := Limit;
  y := 10;
  pr.a := 4;
  pr.b := 5;
  ShowX('main');
  LocalScope;
  ShowX('main');
  Param(x);
  ShowX('main');
  WriteLn('Outer(7)=' + IntToStr(Outer(7)) + ', y=' + IntToStr(y));
  WriteLn('pair=' + IntToStr(pr.a * pr.b))
END.
