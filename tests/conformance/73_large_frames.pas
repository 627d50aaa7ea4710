PROGRAM LargeFrames;
{ Procedures with large local arrays and string tables, called recursively; whole arrays
  passed by value are copies. }
CONST
  N = 1500;
TYPE
  Block = ARRAY[1..N] OF Integer;
  Names = ARRAY[1..20] OF String;

FUNCTION Level(depth: Integer): Integer;
VAR
  local: Block;
  k, sum: Integer;
BEGIN
  FOR k := 1 TO N DO local[k] := depth * k;
  IF depth > 1 THEN sum := Level(depth - 1) ELSE sum := 0;
  FOR k := 1 TO N DO sum := (sum + local[k]) MOD 1000003;
  Level := sum
END;

FUNCTION SumCopy(b: Block): Integer;
VAR
  k: Integer;
BEGIN
  Result := 0;
  FOR k := 1 TO N DO
  BEGIN
    Result := (Result + b[k]) MOD 1000003;
    b[k] := 0
  END
END;

FUNCTION Joined(depth: Integer): String;
VAR
  t: Names;
  k: Integer;
BEGIN
  FOR k := 1 TO 20 DO t[k] := IntToStr(depth * 100 + k);
  IF depth = 0 THEN Joined := t[20]
  ELSE Joined := t[depth] + '/' + Joined(depth - 1)
END;

VAR
  g: Block;
  i: Integer;

BEGIN
  WriteLn('Level(5) = ' + IntToStr(Level(5)));
  FOR i := 1 TO N DO g[i] := i;
  WriteLn('copy sum = ' + IntToStr(SumCopy(g)) + ', g[N] still ' + IntToStr(g[N]));
  WriteLn(Joined(6))
END.
