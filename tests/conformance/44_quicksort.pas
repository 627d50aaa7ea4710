PROGRAM QuickSort;
{ Recursive quicksort with a nested partition procedure; checked against a count of inversions. }
CONST
  N = 200;
TYPE
  Data = ARRAY[1..N] OF Integer;
VAR
  d: Data;
  i, seed, bad: Integer;
  line: String;

FUNCTION NextRandom: Integer;
BEGIN
  seed := (seed * 1103 + 12345) MOD 65536;
  NextRandom := seed MOD 1000
END;

PROCEDURE Sort(VAR a: Data; lo, hi: Integer);
VAR
  i, j, pivot, t: Integer;
BEGIN
  i := lo;
  j := hi;
  pivot := a[(lo + hi) DIV 2];
  REPEAT
    WHILE a[i] < pivot DO i := i + 1;
    WHILE a[j] > pivot DO j := j - 1;
    IF i <= j THEN
    BEGIN
      t := a[i];
      a[i] := a[j];
      a[j] := t;
      i := i + 1;
      j := j - 1
    END
  UNTIL i > j;
  IF lo < j THEN Sort(a, lo, j);
  IF i < hi THEN Sort(a, i, hi)
END;

BEGIN
  seed := 42;
  FOR i := 1 TO N DO d[i] := NextRandom;
  Sort(d, 1, N);
  bad := 0;
  FOR i := 1 TO N - 1 DO
    IF d[i] > d[i + 1] THEN bad := bad + 1;
  WriteLn('out of order: ' + IntToStr(bad));
  line := '';
  FOR i := 1 TO 20 DO line := line + IntToStr(d[i]) + ' ';
  WriteLn('first: ' + line);
  line := '';
  FOR i := N - 19 TO N DO line := line + IntToStr(d[i]) + ' ';
  WriteLn('last: ' + line)
END.
