PROGRAM NestedProcedures;
{ Procedures nested two and three levels deep that use and change the variables of
  every enclosing level, recursion of a nested procedure, and shadowing. }
VAR
  total: Integer;
  name: String;

PROCEDURE Level1(a: Integer);
VAR
  l1: Integer;
  name: String;

  PROCEDURE Level2(b: Integer);
  VAR
    l2: Integer;

    PROCEDURE Level3(c: Integer);
    VAR
      l1: Integer;
    BEGIN
      l1 := 1000;
      l2 := l2 + c;
      total := total + a + b + c + l1;
      WriteLn('  level3: a=' + IntToStr(a) + ' b=' + IntToStr(b) + ' c=' + IntToStr(c) +
              ' l2=' + IntToStr(l2) + ' inner l1=' + IntToStr(l1) + ' name=' + name)
    END;

    FUNCTION Depth(n: Integer): Integer;
    BEGIN
      IF n = 0 THEN Depth := l2 ELSE Depth := Depth(n - 1) + 1
    END;

  BEGIN
    l2 := b * 10;
    Level3(b + 1);
    Level3(b + 2);
    l1 := l1 + l2;
    WriteLn(' level2: l2=' + IntToStr(l2) + ' depth=' + IntToStr(Depth(5)))
  END;

BEGIN
  name := 'inner';
  l1 := a;
  Level2(a * 2);
  Level2(a * 3);
  WriteLn('level1: l1=' + IntToStr(l1) + ' name=' + name)
END;

PROCEDURE Counter;
VAR
  count: Integer;

  PROCEDURE Bump;
  BEGIN
    count := count + 1
  END;

  PROCEDURE BumpTwice;
  BEGIN
    Bump;
    Bump
  END;

BEGIN
  count := 0;
  Bump;
  BumpTwice;
  BumpTwice;
  WriteLn('count=' + IntToStr(count))
END;

BEGIN
  total := 0;
  name := 'outer';
  Level1(1);
  Level1(5);
  Counter;
  WriteLn('total=' + IntToStr(total) + ' name=' + name)
END.
