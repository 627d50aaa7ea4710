PROGRAM NumberGame;
{ Guess the number. The computer picks a number from 1 to 100; you type guesses and it
  answers "higher" or "lower" until you find it. RANDOM(n) gives a number from 0 to n - 1. }
CONST
  Highest = 100;
VAR
  secret, guess, tries: Integer;

BEGIN
  WriteLn('I am thinking of a number between 1 and ' + IntToStr(Highest) + '.');
  secret := Random(Highest) + 1;
  tries := 0;
  REPEAT
    Write('Your guess: ');
    ReadLn(guess);
    tries := tries + 1;
    IF guess < secret THEN WriteLn('Higher!')
    ELSE IF guess > secret THEN WriteLn('Lower!')
  UNTIL guess = secret;
  IF tries = 1 THEN WriteLn('Right at the first try!')
  ELSE WriteLn('Right! You needed ' + IntToStr(tries) + ' tries.');
  Write('Press Enter to finish.');
  ReadLn
END.
