PROGRAM ReadString;
{ READLN of strings: whole lines with blanks, empty lines, a line skipped with READLN alone,
  reading until a terminating word. }
VAR
  s, all: String;
  count: Integer;

BEGIN
  ReadLn(s);
  WriteLn('first line: [' + s + ']');
  ReadLn;
  ReadLn();
  ReadLn(s);
  WriteLn('fourth line: [' + s + ']');
  all := '';
  count := 0;
  REPEAT
    ReadLn(s);
    IF s <> 'end' THEN
    BEGIN
      count := count + 1;
      all := all + '<' + s + '>'
    END
  UNTIL s = 'end';
  WriteLn(IntToStr(count) + ' lines: ' + all)
END.
