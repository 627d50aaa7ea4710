PROGRAM Arrays;
{ One-dimensional arrays: filling, summing, reversing, minimum and maximum, whole-array copy,
  arrays of reals, booleans and strings, bounds that are not 1. }
CONST
  N = 12;
TYPE
  IntList = ARRAY[1..N] OF Integer;
VAR
  a, b: IntList;
  r: ARRAY[0..4] OF Real;
  f: ARRAY[-5..5] OF Boolean;
  words: ARRAY[1..4] OF String;
  i, t, lo, hi, sum: Integer;
  line: String;

BEGIN
  FOR i := 1 TO N DO a[i] := (i * 37 + 11) MOD 50;
  line := '';
  FOR i := 1 TO N DO line := line + IntToStr(a[i]) + ' ';
  WriteLn('a: ' + line);
  sum := 0;
  lo := a[1];
  hi := a[1];
  FOR i := 1 TO N DO
  BEGIN
    sum := sum + a[i];
    IF a[i] < lo THEN lo := a[i];
    IF a[i] > hi THEN hi := a[i]
  END;
  WriteLn('sum=' + IntToStr(sum) + ' min=' + IntToStr(lo) + ' max=' + IntToStr(hi));
  b := a;
  FOR i := 1 TO N DIV 2 DO
  BEGIN
    t := b[i];
    b[i] := b[N + 1 - i];
    b[N + 1 - i] := t
  END;
  line := '';
  FOR i := 1 TO N DO line := line + IntToStr(b[i]) + ' ';
  WriteLn('reversed: ' + line);
  WriteLn('a[1] still ' + IntToStr(a[1]) + ', a[N] still ' + IntToStr(a[N]));
  FOR i := 0 TO 4 DO r[i] := i / 4;
  line := '';
  FOR i := 0 TO 4 DO line := line + FloatToStr(r[i]) + ' ';
  WriteLn('reals: ' + line);
  FOR i := -5 TO 5 DO f[i] := i * i > 5;
  line := '';
  FOR i := -5 TO 5 DO
    IF f[i] THEN line := line + '+' ELSE line := line + '.';
  WriteLn('flags: ' + line);
  words[1] := 'one';
  words[2] := 'two';
  words[3] := 'three';
  words[4] := 'four';
  line := '';
  FOR i := 4 DOWNTO 1 DO line := line + words[i] + ' ';
  WriteLn('words: ' + line);
  a[a[1] MOD N + 1] := 999;
  line := '';
  FOR i := 1 TO N DO line := line + IntToStr(a[i]) + ' ';
  WriteLn('indexed by expression: ' + line)
END.
