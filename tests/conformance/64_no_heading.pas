{ A program without a PROGRAM heading, and text after the final END. }
VAR
  i, product: Integer;
BEGIN
  product := 1;
  FOR i := 1 TO 10 DO product := product * 2;
  WriteLn('2^10 = ' + IntToStr(product))
END.

Notes after the final END are not read by the compiler.
