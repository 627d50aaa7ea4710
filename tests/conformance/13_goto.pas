PROGRAM GotoLabels;
{ LABEL and GOTO: forward and backward jumps, a loop made of GOTOs, labels in a procedure. }
LABEL
  again, skip, finish;
VAR
  i: Integer;

PROCEDURE Search(target: Integer);
LABEL found;
VAR
  k: Integer;
BEGIN
  k := 1;
  WHILE k <= 100 DO
  BEGIN
    IF k * k >= target THEN GOTO found;
    k := k + 1
  END;
  WriteLn('not found');
  EXIT;
found:
  WriteLn('first square >= ' + IntToStr(target) + ' is ' + IntToStr(k * k))
END;

BEGIN
  i := 0;
again:
  i := i + 1;
  Write(IntToStr(i) + ' ');
  IF i < 5 THEN GOTO again;
  WriteLn('');
  GOTO skip;
  WriteLn('this line is skipped');
skip:
  WriteLn('after skip');
  Search(50);
  Search(10001);
  Search(1);
  IF i = 5 THEN GOTO finish;
  WriteLn('not reached');
finish:
  WriteLn('finished')
END.
