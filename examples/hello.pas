PROGRAM Hello;
BEGIN
  WriteLn('Hello, world!')
END.
