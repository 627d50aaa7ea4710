PROGRAM Calendar;
{ Leap years, days in a month, the day of the week by Zeller's rule, and a month printed
  as a calendar sheet. }
CONST
  DayNames = 'MoTuWeThFrSaSu';
TYPE
  MonthNames = ARRAY[1..12] OF String;
VAR
  names: MonthNames;
  y, m, d, w, start: Integer;
  line: String;

FUNCTION IsLeap(year: Integer): Boolean;
BEGIN
  IsLeap := ((year MOD 4 = 0) AND (year MOD 100 <> 0)) OR (year MOD 400 = 0)
END;

FUNCTION DaysIn(month, year: Integer): Integer;
BEGIN
  IF month = 2 THEN
  BEGIN
    IF IsLeap(year) THEN Result := 29 ELSE Result := 28
  END
  ELSE IF (month = 4) OR (month = 6) OR (month = 9) OR (month = 11) THEN Result := 30
  ELSE Result := 31
END;

{ 0 = Monday .. 6 = Sunday }
FUNCTION Weekday(day, month, year: Integer): Integer;
VAR
  k, j, h: Integer;
BEGIN
  IF month < 3 THEN
  BEGIN
    month := month + 12;
    year := year - 1
  END;
  k := year MOD 100;
  j := year DIV 100;
  h := (day + (13 * (month + 1)) DIV 5 + k + k DIV 4 + j DIV 4 + 5 * j) MOD 7;
  Weekday := (h + 5) MOD 7
END;

FUNCTION Two(n: Integer): String;
BEGIN
  IF n < 10 THEN Two := ' ' + IntToStr(n) ELSE Two := IntToStr(n)
END;

BEGIN
  names[1] := 'January';
  names[2] := 'February';
  names[3] := 'March';
  names[4] := 'April';
  names[5] := 'May';
  names[6] := 'June';
  names[7] := 'July';
  names[8] := 'August';
  names[9] := 'September';
  names[10] := 'October';
  names[11] := 'November';
  names[12] := 'December';
  line := '';
  FOR y := 1896 TO 1912 DO
    IF IsLeap(y) THEN line := line + IntToStr(y) + ' ';
  WriteLn('leap years: ' + line);
  IF IsLeap(2000) AND NOT IsLeap(1900) AND NOT IsLeap(2023) AND IsLeap(2024) THEN WriteLn('century rule ok');
  WriteLn('1 January 2000 is day ' + IntToStr(Weekday(1, 1, 2000)));
  WriteLn('20 July 1969 is day ' + IntToStr(Weekday(20, 7, 1969)));
  y := 2024;
  FOR m := 2 TO 3 DO
  BEGIN
    WriteLn(names[m] + ' ' + IntToStr(y));
    WriteLn(DayNames);
    start := Weekday(1, m, y);
    line := '';
    FOR w := 1 TO start DO line := line + '  ';
    FOR d := 1 TO DaysIn(m, y) DO
    BEGIN
      line := line + Two(d);
      IF (start + d) MOD 7 = 0 THEN
      BEGIN
        WriteLn(line);
        line := ''
      END
    END;
    IF line <> '' THEN WriteLn(line)
  END
END.
