PROGRAM StackBalance;
{ Many thousands of calls, function results dropped by call statements, BREAK out of FOR
  loops, EXIT from inside loops and GOTO within a procedure: nothing may be left behind on the
  machine's stack, or a long run would overflow it. }
VAR
  i, hits: Integer;
  total: Real;

FUNCTION RealResult(v: Integer): Real;
BEGIN
  RealResult := v / 2;
  total := total + 1
END;

FUNCTION StringResult(v: Integer): String;
BEGIN
  StringResult := IntToStr(v) + '!';
  hits := hits + 1
END;

FUNCTION FindInLoop(limit: Integer): Integer;
VAR
  k, m: Integer;
BEGIN
  FindInLoop := -1;
  FOR k := 1 TO limit DO
    FOR m := 1 TO limit DO
      IF k * m = limit THEN
      BEGIN
        FindInLoop := k + m;
        EXIT
      END
END;

PROCEDURE Jumpy(n: Integer);
LABEL again, out;
VAR
  k: Integer;
BEGIN
  k := 0;
again:
  k := k + 1;
  IF k > n THEN GOTO out;
  hits := hits + 1;
  GOTO again;
out:
  hits := hits + 1
END;

BEGIN
  total := 0;
  hits := 0;
  FOR i := 1 TO 20000 DO
  BEGIN
    RealResult(i);
    StringResult(i)
  END;
  WriteLn('dropped results: ' + FloatToStr(total) + ' ' + IntToStr(hits));
  hits := 0;
  FOR i := 1 TO 20000 DO
    hits := hits + FindInLoop(6);
  WriteLn('exits from loops: ' + IntToStr(hits));
  hits := 0;
  FOR i := 1 TO 3000 DO Jumpy(5);
  WriteLn('jumps: ' + IntToStr(hits));
  hits := 0;
  FOR i := 1 TO 30000 DO
  BEGIN
    WHILE TRUE DO
    BEGIN
      hits := hits + 1;
      BREAK
    END;
    REPEAT
      hits := hits + 1;
      IF hits > 0 THEN BREAK
    UNTIL FALSE
  END;
  WriteLn('breaks: ' + IntToStr(hits))
END.
