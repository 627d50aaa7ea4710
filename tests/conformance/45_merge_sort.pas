PROGRAM MergeSort;
{ Top-down merge sort with a work array; counts the comparisons. }
CONST
  N = 100;
TYPE
  Data = ARRAY[1..N] OF Integer;
VAR
  a, work: Data;
  i, comparisons: Integer;
  line: String;

PROCEDURE Merge(lo, mid, hi: Integer);
VAR
  i, j, k: Integer;
BEGIN
  i := lo;
  j := mid + 1;
  k := lo;
  WHILE (i <= mid) AND (j <= hi) DO
  BEGIN
    comparisons := comparisons + 1;
    IF a[i] <= a[j] THEN
    BEGIN
      work[k] := a[i];
      i := i + 1
    END
    ELSE
    BEGIN
      work[k] := a[j];
      j := j + 1
    END;
    k := k + 1
  END;
  WHILE i <= mid DO
  BEGIN
    work[k] := a[i];
    i := i + 1;
    k := k + 1
  END;
  WHILE j <= hi DO
  BEGIN
    work[k] := a[j];
    j := j + 1;
    k := k + 1
  END;
  FOR k := lo TO hi DO a[k] := work[k]
END;

PROCEDURE Sort(lo, hi: Integer);
VAR
  mid: Integer;
BEGIN
  IF lo >= hi THEN EXIT;
  mid := (lo + hi) DIV 2;
  Sort(lo, mid);
  Sort(mid + 1, hi);
  Merge(lo, mid, hi)
END;

BEGIN
  FOR i := 1 TO N DO a[i] := (i * 7919) MOD 257;
  comparisons := 0;
  Sort(1, N);
  line := '';
  FOR i := 1 TO N DO
  BEGIN
    line := line + IntToStr(a[i]) + ' ';
    IF i MOD 20 = 0 THEN
    BEGIN
      WriteLn(line);
      line := ''
    END
  END;
  WriteLn('comparisons: ' + IntToStr(comparisons))
END.
