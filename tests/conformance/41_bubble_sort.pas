PROGRAM BubbleSort;
{ Bubble sort with an early stop, on integers and on reals. }
CONST
  N = 16;
TYPE
  IntArray = ARRAY[1..N] OF Integer;
  RealArray = ARRAY[1..N] OF Real;
VAR
  a: IntArray;
  r: RealArray;
  i, passes: Integer;

PROCEDURE Show(VAR v: IntArray);
VAR
  k: Integer;
  line: String;
BEGIN
  line := '';
  FOR k := 1 TO N DO line := line + IntToStr(v[k]) + ' ';
  WriteLn(line)
END;

PROCEDURE Sort(VAR v: IntArray; VAR passCount: Integer);
VAR
  k, t: Integer;
  swapped: Boolean;
BEGIN
  passCount := 0;
  REPEAT
    swapped := FALSE;
    passCount := passCount + 1;
    FOR k := 1 TO N - 1 DO
      IF v[k] > v[k + 1] THEN
      BEGIN
        t := v[k];
        v[k] := v[k + 1];
        v[k + 1] := t;
        swapped := TRUE
      END
  UNTIL NOT swapped
END;

PROCEDURE SortReals(VAR v: RealArray);
VAR
  k, m: Integer;
  t: Real;
BEGIN
  FOR m := N - 1 DOWNTO 1 DO
    FOR k := 1 TO m DO
      IF v[k] > v[k + 1] THEN
      BEGIN
        t := v[k];
        v[k] := v[k + 1];
        v[k + 1] := t
      END
END;

BEGIN
  FOR i := 1 TO N DO a[i] := (i * 73 + 19) MOD 101 - 50;
  Show(a);
  Sort(a, passes);
  Show(a);
  WriteLn('passes: ' + IntToStr(passes));
  Sort(a, passes);
  WriteLn('passes on sorted input: ' + IntToStr(passes));
  FOR i := 1 TO N DO r[i] := ((i * 37) MOD 17) / 4 - 2;
  SortReals(r);
  FOR i := 1 TO N DO Write(FloatToStr(r[i]) + ' ');
  WriteLn('')
END.
