PROGRAM InsertionSort;
{ Insertion sort of records by a key, stable for equal keys, with a sentinel at index 0. }
CONST
  N = 12;
TYPE
  Entry = RECORD
    key: Integer;
    tag: String
  END;
  Entries = ARRAY[0..N] OF Entry;
VAR
  e: Entries;
  i, j: Integer;
  cur: Entry;
  line: String;

BEGIN
  FOR i := 1 TO N DO
  BEGIN
    e[i].key := (i * 5) MOD 7;
    e[i].tag := 'e' + IntToStr(i)
  END;
  FOR i := 2 TO N DO
  BEGIN
    cur := e[i];
    e[0] := cur;
    e[0].key := -1;
    j := i - 1;
    WHILE e[j].key > cur.key DO
    BEGIN
      e[j + 1] := e[j];
      j := j - 1
    END;
    e[j + 1] := cur
  END;
  line := '';
  FOR i := 1 TO N DO line := line + IntToStr(e[i].key) + ':' + e[i].tag + ' ';
  WriteLn(line)
END.
