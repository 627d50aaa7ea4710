PROGRAM ForwardDecl;
{ FORWARD declarations: mutual recursion of procedures and functions. }
VAR
  i: Integer;
  line: String;

FUNCTION IsOdd(n: Integer): Boolean; FORWARD;

FUNCTION IsEven(n: Integer): Boolean;
BEGIN
  IF n = 0 THEN IsEven := TRUE ELSE IsEven := IsOdd(n - 1)
END;

FUNCTION IsOdd(n: Integer): Boolean;
BEGIN
  IF n = 0 THEN IsOdd := FALSE ELSE IsOdd := IsEven(n - 1)
END;

PROCEDURE Pong(n: Integer; VAR log: String); FORWARD;

PROCEDURE Ping(n: Integer; VAR log: String);
BEGIN
  log := log + 'ping' + IntToStr(n) + ' ';
  IF n > 0 THEN Pong(n - 1, log)
END;

PROCEDURE Pong(n: Integer; VAR log: String);
BEGIN
  log := log + 'pong' + IntToStr(n) + ' ';
  IF n > 0 THEN Ping(n - 1, log)
END;

FUNCTION Hofstadter(n: Integer): Integer; FORWARD;

FUNCTION Male(n: Integer): Integer; FORWARD;

FUNCTION Female(n: Integer): Integer;
BEGIN
  IF n = 0 THEN Female := 1 ELSE Female := n - Male(Female(n - 1))
END;

FUNCTION Male(n: Integer): Integer;
BEGIN
  IF n = 0 THEN Male := 0 ELSE Male := n - Female(Male(n - 1))
END;

FUNCTION Hofstadter(n: Integer): Integer;
BEGIN
  Hofstadter := Female(n) + Male(n)
END;

BEGIN
  FOR i := 0 TO 7 DO
  BEGIN
    IF IsEven(i) THEN WriteLn(IntToStr(i) + ' is even');
    IF IsOdd(i) THEN WriteLn(IntToStr(i) + ' is odd')
  END;
  line := '';
  Ping(5, line);
  WriteLn(line);
  line := '';
  FOR i := 0 TO 15 DO line := line + IntToStr(Female(i)) + ' ';
  WriteLn('F: ' + line);
  line := '';
  FOR i := 0 TO 15 DO line := line + IntToStr(Male(i)) + ' ';
  WriteLn('M: ' + line);
  WriteLn('F(20) + M(20) = ' + IntToStr(Hofstadter(20)))
END.
