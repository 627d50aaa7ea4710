PROGRAM Recursion;
{ Recursion: a function or procedure that calls itself on a smaller problem.
  Factorials, Fibonacci numbers and the Towers of Hanoi. }
VAR
  n, moves: Integer;

FUNCTION Factorial(k: Integer): Integer;
BEGIN
  IF k <= 1 THEN Factorial := 1
  ELSE Factorial := k * Factorial(k - 1)
END;

FUNCTION Fibonacci(k: Integer): Integer;
BEGIN
  IF k < 2 THEN Fibonacci := k
  ELSE Fibonacci := Fibonacci(k - 1) + Fibonacci(k - 2)
END;

{ Moves 'disks' disks from peg 'source' to peg 'target', using peg 'spare' on the way. }
PROCEDURE Hanoi(disks: Integer; source, target, spare: String);
BEGIN
  IF disks > 0 THEN
  BEGIN
    Hanoi(disks - 1, source, spare, target);
    moves := moves + 1;
    WriteLn('Move disk ' + IntToStr(disks) + ' from ' + source + ' to ' + target);
    Hanoi(disks - 1, spare, target, source)
  END
END;

BEGIN
  FOR n := 1 TO 10 DO
    WriteLn(IntToStr(n) + '! = ' + IntToStr(Factorial(n)) + '    fib(' + IntToStr(n) + ') = ' +
            IntToStr(Fibonacci(n)));
  WriteLn('');
  moves := 0;
  Hanoi(3, 'left', 'right', 'middle');
  WriteLn('Three disks took ' + IntToStr(moves) + ' moves.')
END.
