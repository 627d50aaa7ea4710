PROGRAM StringLimits;
{ Strings hold at most 255 characters: concatenation beyond that is cut. }
VAR
  s, t: String;
  i, n: Integer;

FUNCTION Tail(v: String): String;
BEGIN
  Tail := v + '<end>'
END;

BEGIN
  s := '';
  FOR i := 1 TO 30 DO s := s + '0123456789';
  WriteLn(s);
  t := '';
  n := 0;
  FOR i := 1 TO 300 DO
  BEGIN
    t := t + '.';
    n := n + 1
  END;
  WriteLn(t);
  WriteLn(Tail(s));
  s := '';
  FOR i := 1 TO 25 DO s := s + 'abcdefghij';
  WriteLn(s + 'KLMNOPQRSTUVWXYZ');
  IF s + 'abcde' = s + 'abcdeXYZ' THEN WriteLn('cut strings compare equal') ELSE WriteLn('different');
  IF s + 'abc' < s + 'abd' THEN WriteLn('less');
  WriteLn('n = ' + IntToStr(n))
END.
