PROGRAM SelectionSort;
{ Selection sort of strings, and of an index array by the values it points to. }
CONST
  N = 9;
TYPE
  NameList = ARRAY[1..N] OF String;
  IndexList = ARRAY[1..N] OF Integer;
VAR
  names: NameList;
  score: IndexList;
  order: IndexList;
  i, j, best, t: Integer;
  s: String;

BEGIN
  names[1] := 'Oskar';
  names[2] := 'Greta';
  names[3] := 'Ulla';
  names[4] := 'Arne';
  names[5] := 'Ingrid';
  names[6] := 'Bo';
  names[7] := 'Nils';
  names[8] := 'Elsa';
  names[9] := 'Karin';
  FOR i := 1 TO N DO
  BEGIN
    score[i] := (i * 29) MOD 23;
    order[i] := i
  END;
  { order by score, descending }
  FOR i := 1 TO N - 1 DO
  BEGIN
    best := i;
    FOR j := i + 1 TO N DO
      IF score[order[j]] > score[order[best]] THEN best := j;
    t := order[i];
    order[i] := order[best];
    order[best] := t
  END;
  FOR i := 1 TO N DO
    WriteLn(IntToStr(i) + '. ' + names[order[i]] + ' ' + IntToStr(score[order[i]]));
  { names alphabetically }
  FOR i := 1 TO N - 1 DO
  BEGIN
    best := i;
    FOR j := i + 1 TO N DO
      IF names[j] < names[best] THEN best := j;
    s := names[i];
    names[i] := names[best];
    names[best] := s
  END;
  s := '';
  FOR i := 1 TO N DO s := s + names[i] + ' ';
  WriteLn(s)
END.
