PROGRAM BenchMandelbrot;
{ Benchmark: the Mandelbrot set in real arithmetic; counts iterations and points inside. }
CONST
  Width = 1000;
  Height = 750;
  MaxIter = 300;
VAR
  px, py, it, inside, iterations: Integer;
  cx, cy, zx, zy, t: Real;

BEGIN
  inside := 0;
  iterations := 0;
  FOR py := 0 TO Height - 1 DO
  BEGIN
    cy := py * 2.4 / Height - 1.2;
    FOR px := 0 TO Width - 1 DO
    BEGIN
      cx := px * 3.2 / Width - 2.2;
      zx := 0;
      zy := 0;
      it := 0;
      WHILE (it < MaxIter) AND (zx * zx + zy * zy <= 4) DO
      BEGIN
        t := zx * zx - zy * zy + cx;
        zy := 2 * zx * zy + cy;
        zx := t;
        it := it + 1
      END;
      iterations := iterations + it;
      IF it = MaxIter THEN inside := inside + 1
    END
  END;
  WriteLn('inside: ' + IntToStr(inside) + ', iterations: ' + IntToStr(iterations))
END.
