program syntaxForms;
{ Reserved words and identifiers in any case, comments anywhere, empty statements,
  a semicolon before END, several labels on one statement, string literals with codes. }
label
  One, Two;
CONST
  cAnswer = 42;
Var
  Counter, COUNTER2: integer;
  text1: STRING;
  flag: BOOLEAN;

Procedure sayIt(msg: String);
begin
  writeln(msg);
end;

FUNCTION twice(N: INTEGER): Integer;
Begin
  TWICE := n * 2;
End;

BEGIN
  counter := 0;;
  ;
  COUNTER2 := Twice(CANSWER);
  SayIt('counter2 = ' + inttostr(counter2));
  text1 := 'Tab:'#9'| Quote:'''#39' | Hash:#';
  sayit(text1);
  flag := true;
  if FLAG then sayit('flag is True') else sayit('flag is False');
  { a comment } counter := counter { inside an expression } + 1;
  begin
    begin
      counter := counter + 1
    end
  end;
  One: Two: counter := counter + 10;
  if counter < 30 then goto one;
  SayIt('counter = ' + IntToStr(counter));
  sayit('x' + #65#66#67 + 'y');
  REPEAT UNTIL TRUE;
  WHILE FALSE DO ;
  for counter := 1 to 0 do ;
  SayIt('end');
END.
