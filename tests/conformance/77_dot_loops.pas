PROGRAM DotLoops;
{ Accumulating loops: sums of products over arrays of integers and reals, one- and
  two-dimensional, counted up and down, with the counter in either index, long enough to run
  across the machine's periodic console checks. }
CONST
  N = 12;
  M = 400;
VAR
  a, b, c: ARRAY[1..N, 1..N] OF Integer;
  x, y: ARRAY[0..M] OF Real;
  u, w: ARRAY[1..M] OF Integer;
  i, j, k, r, s, total: Integer;
  t, rs: Real;

BEGIN
  FOR i := 1 TO N DO
    FOR j := 1 TO N DO
    BEGIN
      a[i, j] := (i * 7 + j * 3) MOD 11 - 5;
      b[i, j] := (i * 5 + j) MOD 13 - 6
    END;
  FOR k := 0 TO M DO
  BEGIN
    x[k] := k / 8;
    y[k] := (M - k) / 16
  END;
  FOR k := 1 TO M DO
  BEGIN
    u[k] := k * 3 - 600;
    w[k] := 1000 - k * k
  END;
  total := 0;
  FOR r := 1 TO 10 DO
    FOR i := 1 TO N DO
      FOR j := 1 TO N DO
      BEGIN
        s := 0;
        FOR k := 1 TO N DO s := s + a[i, k] * b[k, j];
        c[i, j] := s;
        total := total + s
      END;
  WriteLn('product: ' + IntToStr(c[1, 1]) + ' ' + IntToStr(c[N, N]) + ' ' + IntToStr(total));
  s := 7;
  FOR k := N DOWNTO 1 DO s := s + a[k, 3] * a[3, k];
  WriteLn('down: ' + IntToStr(s));
  s := 0;
  FOR r := 1 TO 170 DO
    FOR k := 1 TO M DO s := s + u[k] * w[k];
  WriteLn('wrapping: ' + IntToStr(s));
  t := 0;
  FOR r := 1 TO 50 DO
  BEGIN
    rs := 0.5;
    FOR k := 0 TO M DO rs := rs + x[k] * y[k];
    t := t + rs
  END;
  WriteLn('reals: ' + FloatToStr(t) + ' ' + FloatToStr(rs));
  rs := 0;
  FOR k := M DOWNTO 0 DO rs := rs + x[k] * x[k];
  WriteLn('squares: ' + FloatToStr(rs));
  rs := 1;
  i := 5;
  FOR k := 1 TO 0 DO rs := rs + x[k] * y[i];
  FOR k := 1 TO 1 DO rs := rs + x[k] * y[i];
  WriteLn('short: ' + FloatToStr(rs))
END.
