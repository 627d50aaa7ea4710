PROGRAM Matrices;
{ Matrix products of integers and reals, transpose, identity, a determinant by elimination. }
CONST
  N = 4;
TYPE
  IMatrix = ARRAY[1..N, 1..N] OF Integer;
  RMatrix = ARRAY[1..N, 1..N] OF Real;
VAR
  a, b, c: IMatrix;
  m, inv: RMatrix;
  i, j: Integer;

PROCEDURE Multiply(VAR x, y, z: IMatrix);
VAR
  i, j, k, s: Integer;
BEGIN
  FOR i := 1 TO N DO
    FOR j := 1 TO N DO
    BEGIN
      s := 0;
      FOR k := 1 TO N DO s := s + x[i, k] * y[k, j];
      z[i, j] := s
    END
END;

PROCEDURE Print(VAR x: IMatrix; title: String);
VAR
  i, j: Integer;
  line: String;
BEGIN
  WriteLn(title);
  FOR i := 1 TO N DO
  BEGIN
    line := '';
    FOR j := 1 TO N DO line := line + ' ' + IntToStr(x[i][j]);
    WriteLn(line)
  END
END;

FUNCTION Determinant(x: RMatrix): Real;
VAR
  i, j, k, p: Integer;
  f, t, d: Real;
BEGIN
  d := 1;
  FOR i := 1 TO N DO
  BEGIN
    p := i;
    FOR k := i + 1 TO N DO
      IF x[k, i] * x[k, i] > x[p, i] * x[p, i] THEN p := k;
    IF x[p, i] = 0 THEN
    BEGIN
      Determinant := 0;
      EXIT
    END;
    IF p <> i THEN
    BEGIN
      FOR j := 1 TO N DO
      BEGIN
        t := x[i, j];
        x[i, j] := x[p, j];
        x[p, j] := t
      END;
      d := -d
    END;
    d := d * x[i, i];
    FOR k := i + 1 TO N DO
    BEGIN
      f := x[k, i] / x[i, i];
      FOR j := i TO N DO x[k, j] := x[k, j] - f * x[i, j]
    END
  END;
  Determinant := d
END;

BEGIN
  FOR i := 1 TO N DO
    FOR j := 1 TO N DO
    BEGIN
      a[i, j] := i + j;
      IF i = j THEN b[i, j] := 2 ELSE b[i, j] := 0;
      IF j = N + 1 - i THEN b[i, j] := b[i, j] + 1
    END;
  Print(a, 'A');
  Print(b, 'B');
  Multiply(a, b, c);
  Print(c, 'A * B');
  Multiply(c, c, a);
  Print(a, '(A * B)^2');
  FOR i := 1 TO N DO
    FOR j := 1 TO N DO
      c[j, i] := b[i, j] * 10 + j;
  Print(c, 'transposed');
  FOR i := 1 TO N DO
    FOR j := 1 TO N DO
    BEGIN
      m[i, j] := 1 / (i + j - 1);
      IF i = j THEN inv[i, j] := 2.5 ELSE inv[i, j] := 0.5
    END;
  WriteLn('det(hilbert 4) * 1E12 = ' + IntToStr(Round(Determinant(m) * 1E12)));
  WriteLn('det(inv) = ' + FloatToStr(Determinant(inv)));
  WriteLn('m[2, 3] = ' + FloatToStr(m[2, 3]))
END.
