PROGRAM Life;
{ Conway's Game of Life on a small torus: a glider and a blinker for a few generations. }
CONST
  W = 12;
  H = 8;
TYPE
  Board = ARRAY[0..H - 1, 0..W - 1] OF Boolean;
VAR
  cur, nxt: Board;
  r, c, gen: Integer;

PROCEDURE Show(VAR b: Board; g: Integer);
VAR
  i, j, alive: Integer;
  line: String;
BEGIN
  alive := 0;
  WriteLn('generation ' + IntToStr(g));
  FOR i := 0 TO H - 1 DO
  BEGIN
    line := '';
    FOR j := 0 TO W - 1 DO
      IF b[i, j] THEN
      BEGIN
        line := line + '#';
        alive := alive + 1
      END
      ELSE line := line + '.';
    WriteLn(line)
  END;
  WriteLn('alive: ' + IntToStr(alive))
END;

FUNCTION Neighbours(VAR b: Board; i, j: Integer): Integer;
VAR
  di, dj, n: Integer;
BEGIN
  n := 0;
  FOR di := -1 TO 1 DO
    FOR dj := -1 TO 1 DO
      IF (di <> 0) OR (dj <> 0) THEN
        IF b[(i + di + H) MOD H, (j + dj + W) MOD W] THEN n := n + 1;
  Neighbours := n
END;

BEGIN
  FOR r := 0 TO H - 1 DO
    FOR c := 0 TO W - 1 DO
      cur[r, c] := FALSE;
  cur[0, 1] := TRUE;
  cur[1, 2] := TRUE;
  cur[2, 0] := TRUE;
  cur[2, 1] := TRUE;
  cur[2, 2] := TRUE;
  cur[5, 8] := TRUE;
  cur[5, 9] := TRUE;
  cur[5, 10] := TRUE;
  Show(cur, 0);
  FOR gen := 1 TO 4 DO
  BEGIN
    FOR r := 0 TO H - 1 DO
      FOR c := 0 TO W - 1 DO
        IF cur[r, c] THEN nxt[r, c] := (Neighbours(cur, r, c) = 2) OR (Neighbours(cur, r, c) = 3)
        ELSE nxt[r, c] := Neighbours(cur, r, c) = 3;
    cur := nxt;
    Show(cur, gen)
  END
END.
