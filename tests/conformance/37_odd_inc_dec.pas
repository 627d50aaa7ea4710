PROGRAM OddIncDec;
{ ODD, INC and DEC on variables, array elements and record fields. }
TYPE
  Counter = RECORD
    hits, misses: Integer
  END;
VAR
  i, n: Integer;
  a: ARRAY[1..5] OF Integer;
  c: Counter;
  line: String;

PROCEDURE Twice(VAR v: Integer);
BEGIN
  INC(v);
  INC(v)
END;

BEGIN
  line := '';
  FOR i := -4 TO 4 DO
    IF ODD(i) THEN line := line + IntToStr(i) + ':odd ' ELSE line := line + IntToStr(i) + ':even ';
  WriteLn(line);
  IF ODD(7) AND NOT ODD(2147483646) AND ODD(-2147483647) THEN WriteLn('odd constants ok');
  n := 10;
  INC(n);
  INC(n);
  DEC(n);
  WriteLn('n = ' + IntToStr(n));
  FOR i := 1 TO 5 DO a[i] := 0;
  FOR i := 1 TO 5 DO
    IF ODD(i) THEN INC(a[i]) ELSE DEC(a[i]);
  INC(a[3]);
  line := '';
  FOR i := 1 TO 5 DO line := line + IntToStr(a[i]) + ' ';
  WriteLn(line);
  c.hits := 0;
  c.misses := 0;
  FOR i := 1 TO 20 DO
    IF i MOD 3 = 0 THEN INC(c.hits) ELSE INC(c.misses);
  WriteLn('hits ' + IntToStr(c.hits) + ', misses ' + IntToStr(c.misses));
  Twice(n);
  Twice(c.hits);
  WriteLn('n = ' + IntToStr(n) + ', hits = ' + IntToStr(c.hits));
  n := 0;
  WHILE n < 10 DO INC(n);
  REPEAT DEC(n) UNTIL n < -3;
  WriteLn('n = ' + IntToStr(n))
END.
