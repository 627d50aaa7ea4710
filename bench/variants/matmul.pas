PROGRAM BenchMatMulVar;
{ Variant of matmul: the product in a procedure taking the matrices as VAR parameters, the
  factors swapped, the inner loop a WHILE. }
CONST
  N = 40;
  Rounds = 4000;
TYPE
  Matrix = ARRAY[1..N, 1..N] OF Real;
VAR
  a, b, c: Matrix;
  i, j, r: Integer;
  trace: Real;

PROCEDURE Multiply(VAR x, y, z: Matrix);
VAR
  i, j, k: Integer;
  s: Real;
BEGIN
  FOR i := 1 TO N DO
    FOR j := 1 TO N DO
    BEGIN
      s := 0;
      k := 1;
      WHILE k <= N DO
      BEGIN
        s := y[k, j] * x[i, k] + s;
        k := k + 1
      END;
      z[i, j] := s
    END
END;

BEGIN
  FOR i := 1 TO N DO
    FOR j := 1 TO N DO
    BEGIN
      a[i, j] := (i + j) / N;
      b[i, j] := (i - j) / N
    END;
  trace := 0;
  FOR r := 1 TO Rounds DO
  BEGIN
    Multiply(a, b, c);
    b[r MOD N + 1, 1] := b[r MOD N + 1, 1] + 0.001;
    FOR i := 1 TO N DO trace := trace + c[i, i]
  END;
  WriteLn('trace sum: ' + FloatToStr(trace));
  WriteLn('c[3, 7] = ' + FloatToStr(c[3, 7]))
END.
