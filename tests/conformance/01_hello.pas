PROGRAM Hello;
{ The smallest programs: WRITE and WRITELN with one string each. }
BEGIN
  WriteLn('Hello, world!');
  Write('Hello, ');
  Write('again');
  WriteLn('!');
  WriteLn('');
  WriteLn('It''s a quote; and a ' + 'concatenation.');
  WriteLn(#72#105#33 + ' from character codes');
  WriteLn('done')
END.
