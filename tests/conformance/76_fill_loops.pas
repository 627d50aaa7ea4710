PROGRAM FillLoops;
{ Loops whose body fills array elements indexed by the loop's counter: counted up and down,
  stepped by a variable in WHILE loops, with Booleans and integers, long enough to run across
  the machine's periodic console checks. }
CONST
  N = 3000;
VAR
  flags: ARRAY[1..N] OF Boolean;
  nums: ARRAY[0..N] OF Integer;
  i, j, k, step, r, count, sum: Integer;

PROCEDURE Report(name: String);
BEGIN
  count := 0;
  sum := 0;
  FOR k := 1 TO N DO
  BEGIN
    IF flags[k] THEN count := count + 1;
    sum := (sum + nums[k] MOD 1000 * (k MOD 7)) MOD 1000000
  END;
  WriteLn(name + ': ' + IntToStr(count) + ' ' + IntToStr(sum) + ' j=' + IntToStr(j))
END;

BEGIN
  FOR r := 1 TO 25 DO
  BEGIN
    FOR i := 1 TO N DO flags[i] := FALSE;
    FOR i := N DOWNTO 1 DO nums[i] := r;
  END;
  Report('cleared');
  FOR i := 2 TO N DIV 2 DO flags[i * 2] := TRUE;
  Report('evens');
  FOR i := N - 5 DOWNTO 3 DO flags[i] := TRUE;
  Report('down');
  step := 3;
  j := 1;
  WHILE j <= N DO
  BEGIN
    nums[j] := 1000 + j MOD 10;
    j := j + step
  END;
  Report('stride 3');
  step := 7;
  j := 5;
  WHILE j < N DO
  BEGIN
    flags[j] := FALSE;
    j := j + step
  END;
  Report('stride 7');
  FOR r := 1 TO 6 DO
  BEGIN
    j := r;
    WHILE j <= N DO
    BEGIN
      nums[j] := -r;
      j := j + r
    END
  END;
  Report('strides');
  i := 10;
  FOR i := 10 TO 9 DO nums[i] := 5;
  Report('empty');
  j := N + 1;
  WHILE j <= N DO
  BEGIN
    flags[j] := TRUE;
    j := j + 1
  END;
  Report('none');
  FOR i := 0 TO N DO nums[i] := 42;
  FOR i := N DOWNTO 0 DO nums[i] := i;
  Report('ramp')
END.
