PROGRAM BitsRuntime;
{ Bit operations on negative numbers at run time and folded: SHR shifts in zeros on the
  32-bit pattern, NOT, AND, OR and XOR work on all 32 bits. }
CONST
  MinusOne = -1;
VAR
  i, m, k: Integer;
  line: String;

BEGIN
  i := -1;
  WriteLn('-1 SHR 28 = ' + IntToStr(i SHR 28));
  i := -16;
  WriteLn('-16 SHR 2 = ' + IntToStr(i SHR 2));
  WriteLn('-16 SHR 0 = ' + IntToStr(i SHR 0));
  i := -2147483647 - 1;
  WriteLn('min SHR 31 = ' + IntToStr(i SHR 31));
  WriteLn('min SHR 1 = ' + IntToStr(i SHR 1));
  m := -1;
  line := '';
  FOR k := 0 TO 31 DO
    IF ODD(m SHR k) THEN line := line + '1' ELSE line := line + '0';
  WriteLn(line);
  i := -12345;
  WriteLn('NOT -12345 = ' + IntToStr(NOT i));
  WriteLn('-12345 AND 255 = ' + IntToStr(i AND 255));
  WriteLn('-12345 OR 255 = ' + IntToStr(i OR 255));
  WriteLn('-12345 XOR -1 = ' + IntToStr(i XOR MinusOne));
  WriteLn('-12345 AND -256 = ' + IntToStr(i AND (-256)));
  k := 1;
  line := '';
  FOR i := 0 TO 30 DO
  BEGIN
    line := line + IntToStr(k SHL i AND 1023) + ' ';
    IF i MOD 10 = 9 THEN
    BEGIN
      WriteLn(line);
      line := ''
    END
  END;
  WriteLn(line)
END.
