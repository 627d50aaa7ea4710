PROGRAM ReadInteger;
{ READLN of integers from standard input: a count, then that many numbers; signs, leading
  blanks and leading zeros. }
VAR
  n, i, v, sum, lo, hi: Integer;

BEGIN
  Write('How many numbers? ');
  ReadLn(n);
  WriteLn('');
  sum := 0;
  lo := 2147483647;
  hi := -2147483647 - 1;
  FOR i := 1 TO n DO
  BEGIN
    ReadLn(v);
    WriteLn('read ' + IntToStr(v));
    sum := sum + v;
    IF v < lo THEN lo := v;
    IF v > hi THEN hi := v
  END;
  WriteLn('sum = ' + IntToStr(sum));
  WriteLn('min = ' + IntToStr(lo) + ', max = ' + IntToStr(hi))
END.
