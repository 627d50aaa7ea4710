PROGRAM Queens;
{ The eight queens by backtracking: the first solution and the number of all solutions. }
CONST
  N = 8;
VAR
  col: ARRAY[1..N] OF Integer;
  usedCol: ARRAY[1..N] OF Boolean;
  diag1: ARRAY[2..16] OF Boolean;
  diag2: ARRAY[-7..7] OF Boolean;
  solutions: Integer;
  i: Integer;

PROCEDURE PrintBoard;
VAR
  r, c: Integer;
  line: String;
BEGIN
  FOR r := 1 TO N DO
  BEGIN
    line := '';
    FOR c := 1 TO N DO
      IF col[r] = c THEN line := line + 'Q ' ELSE line := line + '. ';
    WriteLn(line)
  END
END;

PROCEDURE Place(row: Integer);
VAR
  c: Integer;
BEGIN
  IF row > N THEN
  BEGIN
    solutions := solutions + 1;
    IF solutions = 1 THEN PrintBoard;
    EXIT
  END;
  FOR c := 1 TO N DO
    IF NOT usedCol[c] THEN
      IF NOT diag1[row + c] THEN
        IF NOT diag2[row - c] THEN
        BEGIN
          col[row] := c;
          usedCol[c] := TRUE;
          diag1[row + c] := TRUE;
          diag2[row - c] := TRUE;
          Place(row + 1);
          usedCol[c] := FALSE;
          diag1[row + c] := FALSE;
          diag2[row - c] := FALSE
        END
END;

BEGIN
  FOR i := 1 TO N DO usedCol[i] := FALSE;
  FOR i := 2 TO 16 DO diag1[i] := FALSE;
  FOR i := -7 TO 7 DO diag2[i] := FALSE;
  solutions := 0;
  Place(1);
  WriteLn('solutions: ' + IntToStr(solutions))
END.
