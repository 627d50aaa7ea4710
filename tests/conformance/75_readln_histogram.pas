PROGRAM ReadHistogram;
{ Marks read from standard input until a negative number; a bar chart of the grades and the
  mean, the best and the worst. }
VAR
  counts: ARRAY[1..6] OF Integer;
  names: ARRAY[1..6] OF String;
  mark, grade, n, best, worst, total, k, j: Integer;
  bar: String;

FUNCTION GradeOf(m: Integer): Integer;
BEGIN
  IF m >= 90 THEN GradeOf := 1
  ELSE IF m >= 80 THEN GradeOf := 2
  ELSE IF m >= 70 THEN GradeOf := 3
  ELSE IF m >= 60 THEN GradeOf := 4
  ELSE IF m >= 50 THEN GradeOf := 5
  ELSE GradeOf := 6
END;

BEGIN
  names[1] := 'A';
  names[2] := 'B';
  names[3] := 'C';
  names[4] := 'D';
  names[5] := 'E';
  names[6] := 'F';
  FOR k := 1 TO 6 DO counts[k] := 0;
  n := 0;
  total := 0;
  best := -1;
  worst := 101;
  REPEAT
    Write('mark: ');
    ReadLn(mark);
    IF mark >= 0 THEN
    BEGIN
      n := n + 1;
      total := total + mark;
      IF mark > best THEN best := mark;
      IF mark < worst THEN worst := mark;
      grade := GradeOf(mark);
      counts[grade] := counts[grade] + 1
    END
  UNTIL mark < 0;
  WriteLn('');
  FOR k := 1 TO 6 DO
  BEGIN
    bar := '';
    FOR j := 1 TO counts[k] DO bar := bar + '#';
    WriteLn(names[k] + ' ' + bar)
  END;
  WriteLn(IntToStr(n) + ' marks, mean ' + FloatToStr(total / n) + ', best ' + IntToStr(best) + ', worst ' + IntToStr(worst))
END.
