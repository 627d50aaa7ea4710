PROGRAM Records;
{ Records: field access, assignment of whole records, records inside records,
  arrays inside records, records as value and VAR parameters and as function results. }
TYPE
  Date = RECORD
    day, month, year: Integer
  END;
  Person = RECORD
    name: String;
    born: Date;
    height: Real;
    member: Boolean;
    scores: ARRAY[1..3] OF Integer
  END;
VAR
  p, q: Person;
  d: Date;
  i: Integer;

FUNCTION DateText(x: Date): String;
BEGIN
  DateText := IntToStr(x.day) + '.' + IntToStr(x.month) + '.' + IntToStr(x.year)
END;

FUNCTION MakeDate(dd, mm, yy: Integer): Date;
BEGIN
  Result.day := dd;
  Result.month := mm;
  Result.year := yy
END;

PROCEDURE Show(x: Person);
VAR
  k, total: Integer;
BEGIN
  total := 0;
  FOR k := 1 TO 3 DO total := total + x.scores[k];
  Write(x.name + ', born ' + DateText(x.born) + ', ' + FloatToStr(x.height) + ' m, ');
  IF x.member THEN Write('member') ELSE Write('guest');
  WriteLn(', total score ' + IntToStr(total))
END;

PROCEDURE Birthday(VAR x: Person);
BEGIN
  x.born.year := x.born.year - 1;
  x.scores[2] := x.scores[2] + 100
END;

BEGIN
  p.name := 'Ada';
  p.born.day := 10;
  p.born.month := 12;
  p.born.year := 1815;
  p.height := 1.65;
  p.member := TRUE;
  FOR i := 1 TO 3 DO p.scores[i] := i * 7;
  Show(p);
  q := p;
  q.name := 'Bea';
  q.member := FALSE;
  q.born := MakeDate(1, 4, 1990);
  Show(q);
  Show(p);
  Birthday(q);
  Show(q);
  d := q.born;
  d.day := d.day + 30;
  WriteLn(DateText(d) + ' / ' + DateText(q.born));
  WriteLn(DateText(MakeDate(29, 2, 2000)))
END.
