PROGRAM BinarySearch;
{ Iterative and recursive binary search in a sorted array, with probe counts. }
CONST
  N = 64;
TYPE
  Table = ARRAY[1..N] OF Integer;
VAR
  t: Table;
  i, probes, found: Integer;
  line: String;

FUNCTION Search(VAR a: Table; key: Integer; VAR count: Integer): Integer;
VAR
  lo, hi, mid: Integer;
BEGIN
  lo := 1;
  hi := N;
  count := 0;
  Search := 0;
  WHILE lo <= hi DO
  BEGIN
    count := count + 1;
    mid := (lo + hi) DIV 2;
    IF a[mid] = key THEN
    BEGIN
      Search := mid;
      EXIT
    END;
    IF a[mid] < key THEN lo := mid + 1 ELSE hi := mid - 1
  END
END;

FUNCTION SearchRec(VAR a: Table; key, lo, hi: Integer): Integer;
VAR
  mid: Integer;
BEGIN
  IF lo > hi THEN
    SearchRec := 0
  ELSE
  BEGIN
    mid := (lo + hi) DIV 2;
    IF a[mid] = key THEN SearchRec := mid
    ELSE IF a[mid] < key THEN SearchRec := SearchRec(a, key, mid + 1, hi)
    ELSE SearchRec := SearchRec(a, key, lo, mid - 1)
  END
END;

BEGIN
  FOR i := 1 TO N DO t[i] := i * 3 + 1;
  line := '';
  FOR i := 0 TO 20 DO
  BEGIN
    found := Search(t, i * 10, probes);
    IF found <> SearchRec(t, i * 10, 1, N) THEN WriteLn('mismatch at ' + IntToStr(i * 10));
    line := line + IntToStr(i * 10) + '@' + IntToStr(found) + '/' + IntToStr(probes) + ' '
  END;
  WriteLn(line);
  WriteLn('first: ' + IntToStr(Search(t, 4, probes)) + ' in ' + IntToStr(probes));
  WriteLn('last: ' + IntToStr(Search(t, 193, probes)) + ' in ' + IntToStr(probes));
  WriteLn('below: ' + IntToStr(Search(t, -5, probes)) + ' in ' + IntToStr(probes));
  WriteLn('above: ' + IntToStr(Search(t, 500, probes)) + ' in ' + IntToStr(probes))
END.
