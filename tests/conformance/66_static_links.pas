PROGRAM StaticLinks;
{ Nested routines reach the variables of the activation they were declared in (static link),
  not of their caller (dynamic link): recursion through a nested procedure, a nested procedure
  changing an outer VAR parameter, and a nested function called from a deeper one. }
VAR
  log: String;

PROCEDURE Walk(depth: Integer; tag: String);
VAR
  mine: Integer;

  PROCEDURE Note;
  BEGIN
    log := log + tag + IntToStr(mine) + ' '
  END;

  PROCEDURE Descend;
  BEGIN
    IF depth < 3 THEN Walk(depth + 1, tag + '>');
    Note
  END;

BEGIN
  mine := depth * 10;
  Note;
  Descend;
  mine := mine + 1;
  Note
END;

PROCEDURE Accumulate(VAR total: Integer; n: Integer);
VAR
  k: Integer;

  PROCEDURE AddSquare(v: Integer);
  BEGIN
    total := total + v * v
  END;

  PROCEDURE AddCube(v: Integer);

    PROCEDURE Twice;
    BEGIN
      AddSquare(v);
      total := total + v * v * v - v * v
    END;

  BEGIN
    Twice
  END;

BEGIN
  FOR k := 1 TO n DO
  BEGIN
    AddSquare(k);
    AddCube(k)
  END
END;

FUNCTION Outer(n: Integer): Integer;
VAR
  base: Integer;

  FUNCTION Scale(v: Integer): Integer;
  BEGIN
    Scale := v * base
  END;

  FUNCTION Inner(m: Integer): Integer;

    FUNCTION Deepest(x: Integer): Integer;
    BEGIN
      IF x <= 0 THEN Deepest := Scale(m) ELSE Deepest := Deepest(x - 1) + 1
    END;

  BEGIN
    Inner := Deepest(m)
  END;

BEGIN
  base := n;
  IF n > 1 THEN Outer := Inner(n) + Outer(n - 1) ELSE Outer := Inner(n)
END;

VAR
  t: Integer;

BEGIN
  log := '';
  Walk(1, '');
  WriteLn(log);
  t := 0;
  Accumulate(t, 4);
  WriteLn('squares plus cubes 1..4: ' + IntToStr(t));
  WriteLn('Outer(5) = ' + IntToStr(Outer(5)))
END.
