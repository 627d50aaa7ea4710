PROGRAM ReadFormats;
{ READLN accepts integers in hexadecimal with $ or 0x, leading zeros, reals without a digit
  before the point, exponents with signs; a string keeps at most 255 characters of its line. }
VAR
  i: Integer;
  r: Real;
  s: String;

BEGIN
  ReadLn(i);
  WriteLn('$10 -> ' + IntToStr(i));
  ReadLn(i);
  WriteLn('0x1F -> ' + IntToStr(i));
  ReadLn(i);
  WriteLn('-0 -> ' + IntToStr(i));
  ReadLn(i);
  WriteLn('000123 -> ' + IntToStr(i));
  ReadLn(r);
  WriteLn('.5 -> ' + FloatToStr(r));
  ReadLn(r);
  WriteLn('-.25 -> ' + FloatToStr(r));
  ReadLn(r);
  WriteLn('+4.5e+1 -> ' + FloatToStr(r));
  ReadLn(s);
  WriteLn('long line kept: ' + s);
  s := s + 'more';
  WriteLn('still ' + s);
  ReadLn(i);
  WriteLn('next number: ' + IntToStr(i));
  ReadLn(s);
  WriteLn('last: ' + s)
END.
