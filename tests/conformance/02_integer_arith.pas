PROGRAM IntegerArith;
{ Integer operators, precedence and signs. }
VAR
  a, b, c: Integer;

PROCEDURE Show(name: String; v: Integer);
BEGIN
  WriteLn(name + ' = ' + IntToStr(v))
END;

BEGIN
  a := 17;
  b := 5;
  c := -3;
  Show('a + b', a + b);
  Show('a - b', a - b);
  Show('a * b', a * b);
  Show('a DIV b', a DIV b);
  Show('a MOD b', a MOD b);
  Show('(-a) DIV b', (-a) DIV b);
  Show('(-a) MOD b', (-a) MOD b);
  Show('a DIV c', a DIV c);
  Show('a MOD c', a MOD c);
  Show('-a', -a);
  Show('a + b * c', a + b * c);
  Show('(a + b) * c', (a + b) * c);
  Show('a - b - c', a - b - c);
  Show('a DIV b * b + a MOD b', a DIV b * b + a MOD b);
  Show('100 DIV 7 MOD 3', 100 DIV 7 MOD 3);
  Show('2 * 3 + 4 * 5', 2 * 3 + 4 * 5);
  Show('c * c * c', c * c * c);
  Show('-c + a', -c + a);
  Show('a + 1 + 2', a + 1 + 2);
  Show('1 + 2 + a', 1 + 2 + a);
  Show('a - 1 - 2', a - 1 - 2);
  Show('max', 2147483647);
  Show('min', -2147483647 - 1);
  a := 0;
  a := a + 10;
  a := a * a - 1;
  Show('a', a);
  Show('7 DIV 2', 7 DIV 2);
  Show('(-7) DIV 2', (-7) DIV 2);
  Show('(-7) MOD 2', (-7) MOD 2);
  Show('7 MOD (-2)', 7 MOD (-2));
  Show('7 DIV (-2)', 7 DIV (-2))
END.
