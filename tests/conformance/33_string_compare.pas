PROGRAM StringCompare;
{ String comparison: character codes, prefixes, case; sorting words. }
CONST
  Count = 10;
TYPE
  Words = ARRAY[1..Count] OF String;
VAR
  w: Words;
  i, j: Integer;
  t: String;

PROCEDURE Compare(a, b: String);
VAR
  r: String;
BEGIN
  IF a < b THEN r := '<' ELSE IF a > b THEN r := '>' ELSE r := '=';
  WriteLn('''' + a + ''' ' + r + ' ''' + b + '''');
  IF (a <= b) <> (NOT (a > b)) THEN WriteLn('inconsistent <=');
  IF (a >= b) <> (NOT (a < b)) THEN WriteLn('inconsistent >=');
  IF (a = b) = (a <> b) THEN WriteLn('inconsistent =')
END;

BEGIN
  Compare('abc', 'abd');
  Compare('abc', 'ab');
  Compare('', 'a');
  Compare('', '');
  Compare('B', 'a');
  Compare('Zebra', 'apple');
  Compare('apple', 'apple');
  Compare('10', '9');
  Compare('a b', 'ab');
  Compare('same', 'sam' + 'e');
  w[1] := 'pear';
  w[2] := 'Apple';
  w[3] := 'banana';
  w[4] := 'apple';
  w[5] := 'fig';
  w[6] := 'Fig';
  w[7] := 'date';
  w[8] := 'banana split';
  w[9] := '';
  w[10] := 'cherry';
  FOR i := 2 TO Count DO
  BEGIN
    t := w[i];
    j := i - 1;
    WHILE j >= 1 DO
    BEGIN
      IF w[j] <= t THEN BREAK;
      w[j + 1] := w[j];
      j := j - 1
    END;
    w[j + 1] := t
  END;
  FOR i := 1 TO Count DO WriteLn(IntToStr(i) + ': [' + w[i] + ']')
END.
