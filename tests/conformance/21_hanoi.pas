PROGRAM Hanoi;
{ Towers of Hanoi: recursion with several parameters and a global move counter. }
VAR
  moves: Integer;

PROCEDURE Move(n: Integer; src, dst, via: String);
BEGIN
  IF n = 0 THEN EXIT;
  Move(n - 1, src, via, dst);
  moves := moves + 1;
  IF moves <= 20 THEN
    WriteLn('move disk ' + IntToStr(n) + ' from ' + src + ' to ' + dst);
  Move(n - 1, via, dst, src)
END;

BEGIN
  moves := 0;
  Move(4, 'A', 'C', 'B');
  WriteLn('moves for 4 disks: ' + IntToStr(moves));
  moves := 0;
  Move(12, 'left', 'right', 'middle');
  WriteLn('moves for 12 disks: ' + IntToStr(moves))
END.
