PROGRAM BenchMatMul;
{ Benchmark: real matrix multiplication, repeated; prints the trace and one element. }
CONST
  N = 40;
  Rounds = 4000;
TYPE
  Matrix = ARRAY[1..N, 1..N] OF Real;
VAR
  a, b, c: Matrix;
  i, j, k, r: Integer;
  s, trace: Real;

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
    FOR i := 1 TO N DO
      FOR j := 1 TO N DO
      BEGIN
        s := 0;
        FOR k := 1 TO N DO s := s + a[i, k] * b[k, j];
        c[i, j] := s
      END;
    b[r MOD N + 1, 1] := b[r MOD N + 1, 1] + 0.001;
    FOR i := 1 TO N DO trace := trace + c[i, i]
  END;
  WriteLn('trace sum: ' + FloatToStr(trace));
  WriteLn('c[3, 7] = ' + FloatToStr(c[3, 7]))
END.
