PROGRAM Procedures;
{ Procedures with no, one and several value parameters of every type; value parameters are copies. }
TYPE
  Vector = ARRAY[1..3] OF Integer;
VAR
  g: Integer;
  v: Vector;
  s: String;

PROCEDURE Line;
BEGIN
  WriteLn('----------')
END;

PROCEDURE Greet(who: String);
BEGIN
  WriteLn('Hello, ' + who)
END;

PROCEDURE Describe(n: Integer; r: Real; b: Boolean; t: String);
BEGIN
  Write(IntToStr(n) + ' ' + FloatToStr(r) + ' ');
  IF b THEN Write('yes ') ELSE Write('no ');
  WriteLn(t)
END;

PROCEDURE Spoil(n: Integer; a: Vector; t: String);
BEGIN
  n := 0;
  a[1] := 0;
  t := 'spoiled';
  WriteLn('inside: ' + IntToStr(n) + ' ' + IntToStr(a[1]) + ' ' + t)
END;

PROCEDURE SetGlobal(value: Integer);
BEGIN
  g := value
END;

BEGIN
  Line;
  Greet('Ulvan');
  Greet('Pascal' + ' user');
  Line();
  Describe(1, 2.5, TRUE, 'first');
  Describe(-2, 3, FALSE, 'integer passed as real');
  Describe(3 * 4, 1 / 8, 1 > 0, 'expressions');
  g := 7;
  v[1] := 1;
  v[2] := 2;
  v[3] := 3;
  s := 'intact';
  Spoil(g, v, s);
  WriteLn('outside: ' + IntToStr(g) + ' ' + IntToStr(v[1]) + ' ' + s);
  SetGlobal(99);
  WriteLn('g = ' + IntToStr(g));
  Line
END.
