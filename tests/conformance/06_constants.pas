PROGRAM Constants;
{ CONST declarations of every kind and constant expressions. }
CONST
  N = 10;
  M = N * 3 + 2;
  Neg = -7;
  Half = 1 / 2;
  Pi = 3.14159265358979;
  TwoPi = Pi * 2;
  Greeting = 'Hello';
  Target = 'world';
  Message = Greeting + ', ' + Target + '!';
  Yes = TRUE;
  No = NOT Yes;
  Big = N > 5;
  Mask = 255 AND (NOT 15);
  Shifted = 1 SHL 10;
  Quot = 22 DIV 7;
  Remd = 22 MOD 7;

TYPE
  TArr = ARRAY[1..N] OF Integer;

VAR
  a: TArr;
  i, sum: Integer;

BEGIN
  WriteLn('N = ' + IntToStr(N));
  WriteLn('M = ' + IntToStr(M));
  WriteLn('Neg = ' + IntToStr(Neg));
  WriteLn('Neg * Neg = ' + IntToStr(Neg * Neg));
  WriteLn('Half = ' + FloatToStr(Half));
  WriteLn('TwoPi = ' + FloatToStr(TwoPi));
  WriteLn(Message);
  IF Yes THEN WriteLn('Yes is true');
  IF No THEN WriteLn('No is true') ELSE WriteLn('No is false');
  IF Big THEN WriteLn('N is big');
  WriteLn('Mask = ' + IntToStr(Mask));
  WriteLn('Shifted = ' + IntToStr(Shifted));
  WriteLn('Quot = ' + IntToStr(Quot) + ', Remd = ' + IntToStr(Remd));
  sum := 0;
  FOR i := 1 TO N DO
  BEGIN
    a[i] := i * i;
    sum := sum + a[i]
  END;
  WriteLn('sum of squares 1..N = ' + IntToStr(sum));
  WriteLn('SizeOf(TArr) = ' + IntToStr(SizeOf(TArr)))
END.
