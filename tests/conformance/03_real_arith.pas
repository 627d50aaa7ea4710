PROGRAM RealArith;
{ Real operators, mixing with integers, FLOATTOSTR of the results. }
VAR
  x, y, z: Real;
  i, j: Integer;

PROCEDURE Show(name: String; v: Real);
BEGIN
  WriteLn(name + ' = ' + FloatToStr(v))
END;

BEGIN
  x := 2.5;
  y := 0.4;
  i := 7;
  j := 2;
  Show('x + y', x + y);
  Show('x - y', x - y);
  Show('x * y', x * y);
  Show('x / y', x / y);
  Show('i / j', i / j);
  Show('7 / 2', 7 / 2);
  Show('x + i', x + i);
  Show('i - x', i - x);
  Show('i * x', i * x);
  Show('i / x', i / x);
  Show('x / i', x / i);
  Show('-x', -x);
  Show('1 / 3', 1 / 3);
  Show('2 / 3', 2 / 3);
  z := 0.1;
  z := z + 0.2;
  Show('0.1 + 0.2', z);
  z := i;
  Show('z := i', z);
  z := 1.5E3;
  Show('1.5E3', z);
  z := 1e5;
  Show('1e5', z);
  z := 12345.678;
  Show('12345.678', z);
  Show('z * 1000', z * 1000);
  Show('z / 1000', z / 1000);
  z := 1.0;
  FOR i := 1 TO 20 DO z := z * 10;
  Show('1E20', z);
  z := 1.0;
  FOR i := 1 TO 15 DO z := z / 10;
  Show('1E-15', z);
  Show('0.0001', 0.0001);
  Show('0.001', 0.001);
  Show('-2.5E-10', -2.5E-10);
  Show('1E15', 1E15);
  Show('999999999999999', 999999999999999.0);
  Show('123456789012345678', 123456789012345678.0);
  Show('100', 100.0);
  Show('0', 0.0);
  Show('3.25 * 4', 3.25 * 4);
  Show('2 - 0.5', 2 - 0.5);
  Show('(1 + 2) / 4', (1 + 2) / 4)
END.
