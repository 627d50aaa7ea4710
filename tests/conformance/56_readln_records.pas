PROGRAM ReadRecords;
{ A small record database filled from standard input: each entry is a name line, an age line
  and a weight line; then queries by name until the word 'quit'. }
CONST
  Max = 10;
TYPE
  Person = RECORD
    name: String;
    age: Integer;
    weight: Real
  END;
VAR
  people: ARRAY[1..Max] OF Person;
  n, i, found: Integer;
  query: String;
  ages: Integer;
  weights: Real;

BEGIN
  Write('Entries: ');
  ReadLn(n);
  WriteLn('');
  IF n > Max THEN n := Max;
  ages := 0;
  weights := 0;
  FOR i := 1 TO n DO
  BEGIN
    Write('Name: ');
    ReadLn(people[i].name);
    Write('Age: ');
    ReadLn(people[i].age);
    Write('Weight: ');
    ReadLn(people[i].weight);
    WriteLn('');
    ages := ages + people[i].age;
    weights := weights + people[i].weight
  END;
  WriteLn('average age ' + FloatToStr(ages / n) + ', total weight ' + FloatToStr(weights));
  REPEAT
    Write('Query: ');
    ReadLn(query);
    WriteLn('');
    IF query <> 'quit' THEN
    BEGIN
      found := 0;
      FOR i := 1 TO n DO
        IF people[i].name = query THEN found := i;
      IF found = 0 THEN WriteLn(query + ' is unknown')
      ELSE WriteLn(query + ' is ' + IntToStr(people[found].age) + ' and weighs ' + FloatToStr(people[found].weight))
    END
  UNTIL query = 'quit';
  WriteLn('bye')
END.
