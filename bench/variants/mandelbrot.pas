PROGRAM BenchMandelbrotVar;
{ Variant of mandelbrot: the iteration in a function, a REPEAT loop, temporaries for the
  squares, operands swapped. }
CONST
  Width = 1000;
  Height = 750;
  MaxIter = 300;
VAR
  px, py, it, inside, iterations: Integer;
  cx, cy: Real;

FUNCTION Iterate(cx, cy: Real): Integer;
VAR
  zx, zy, xx, yy: Real;
  n: Integer;
BEGIN
  zx := 0;
  zy := 0;
  xx := 0;
  yy := 0;
  n := 0;
  REPEAT
    zy := cy + 2 * zx * zy;
    zx := cx + (xx - yy);
    xx := zx * zx;
    yy := zy * zy;
    n := n + 1
  UNTIL (n >= MaxIter) OR (xx + yy > 4);
  Iterate := n
END;

BEGIN
  inside := 0;
  iterations := 0;
  py := 0;
  WHILE py < Height DO
  BEGIN
    cy := py * 2.4 / Height - 1.2;
    FOR px := 0 TO Width - 1 DO
    BEGIN
      cx := px * 3.2 / Width - 2.2;
      it := Iterate(cx, cy);
      iterations := it + iterations;
      IF MaxIter = it THEN inside := inside + 1
    END;
    py := py + 1
  END;
  WriteLn('inside: ' + IntToStr(inside) + ', iterations: ' + IntToStr(iterations))
END.
