PROGRAM BooleanOps;
{ Boolean values, operators and comparisons. There is no BoolToStr: an IF prints them. }
VAR
  p, q, r: Boolean;
  i: Integer;

FUNCTION B(v: Boolean): String;
BEGIN
  IF v THEN B := 'TRUE' ELSE B := 'FALSE'
END;

BEGIN
  WriteLn(' p     q     AND   OR    XOR   NOT p  p=q   p<>q');
  FOR i := 0 TO 3 DO
  BEGIN
    p := i >= 2;
    q := ODD(i);
    WriteLn(' ' + B(p) + ' ' + B(q) + ' ' + B(p AND q) + ' ' + B(p OR q) + ' ' +
            B(p XOR q) + ' ' + B(NOT p) + ' ' + B(p = q) + ' ' + B(p <> q))
  END;
  r := TRUE;
  r := NOT r;
  WriteLn('NOT TRUE = ' + B(r));
  WriteLn('TRUE AND FALSE = ' + B(TRUE AND FALSE));
  WriteLn('TRUE OR FALSE = ' + B(TRUE OR FALSE));
  WriteLn('TRUE = FALSE = ' + B(TRUE = FALSE));
  i := 5;
  WriteLn('i > 3 = ' + B(i > 3));
  WriteLn('i < 3 = ' + B(i < 3));
  WriteLn('i >= 5 = ' + B(i >= 5));
  WriteLn('i <= 4 = ' + B(i <= 4));
  WriteLn('i = 5 = ' + B(i = 5));
  WriteLn('i <> 5 = ' + B(i <> 5));
  WriteLn('(i > 0) AND (i < 10) = ' + B((i > 0) AND (i < 10)));
  WriteLn('(i < 0) OR (i > 10) = ' + B((i < 0) OR (i > 10)));
  WriteLn('NOT (i = 5) = ' + B(NOT (i = 5)));
  WriteLn('1 < 2.5 = ' + B(1 < 2.5));
  WriteLn('2.5 > i = ' + B(2.5 > i));
  WriteLn('''ab'' < ''abc'' = ' + B('ab' < 'abc'));
  WriteLn('''b'' > ''abc'' = ' + B('b' > 'abc'));
  p := FALSE;
  q := TRUE;
  r := p OR q AND p;
  WriteLn('p OR q AND p = ' + B(r));
  r := (p OR q) AND p;
  WriteLn('(p OR q) AND p = ' + B(r))
END.
