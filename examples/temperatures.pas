PROGRAM Temperatures;
{ Real numbers: a conversion table from Celsius to Fahrenheit, and the average of
  temperatures typed in until the value -999. }
VAR
  c, total, t: Real;
  count: Integer;

FUNCTION Fahrenheit(celsius: Real): Real;
BEGIN
  Fahrenheit := celsius * 9.0 / 5.0 + 32.0
END;

BEGIN
  c := -40.0;
  WHILE c <= 100.0 DO
  BEGIN
    WriteLn(FloatToStr(c) + ' C = ' + FloatToStr(Fahrenheit(c)) + ' F');
    c := c + 20.0
  END;
  WriteLn('');
  WriteLn('Type temperatures in Celsius, one per line; -999 ends.');
  total := 0.0;
  count := 0;
  REPEAT
    Write('Temperature: ');
    ReadLn(t);
    IF t <> -999.0 THEN
    BEGIN
      total := total + t;
      count := count + 1
    END
  UNTIL t = -999.0;
  IF count > 0 THEN
    WriteLn('Average of ' + IntToStr(count) + ': ' + FloatToStr(total / Real(count)) + ' C, ' +
            FloatToStr(Fahrenheit(total / Real(count))) + ' F')
  ELSE
    WriteLn('No temperatures.')
END.
