PROGRAM ReadMenu;
{ An interactive loop driven by input: a command number, then its operand; a running total. }
VAR
  cmd, v, total, steps: Integer;
  r: Real;

BEGIN
  total := 0;
  steps := 0;
  WHILE TRUE DO
  BEGIN
    Write('1 add, 2 subtract, 3 multiply, 4 halve, 0 stop: ');
    ReadLn(cmd);
    WriteLn('');
    IF cmd = 0 THEN BREAK;
    steps := steps + 1;
    IF cmd = 4 THEN
    BEGIN
      r := total / 2;
      WriteLn('half of ' + IntToStr(total) + ' is ' + FloatToStr(r));
      CONTINUE
    END;
    Write('operand: ');
    ReadLn(v);
    WriteLn('');
    IF cmd = 1 THEN total := total + v
    ELSE IF cmd = 2 THEN total := total - v
    ELSE IF cmd = 3 THEN total := total * v
    ELSE WriteLn('unknown command ' + IntToStr(cmd));
    WriteLn('total = ' + IntToStr(total))
  END;
  WriteLn(IntToStr(steps) + ' steps, final total ' + IntToStr(total))
END.
