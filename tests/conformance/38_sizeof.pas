PROGRAM SizeOfDemo;
{ SIZEOF of the basic types, of arrays and of variables. }
TYPE
  Ints = ARRAY[1..10] OF Integer;
  Reals = ARRAY[0..4] OF Real;
  Flags = ARRAY[1..10] OF Boolean;
  Texts = ARRAY[1..3] OF String;
  Matrix = ARRAY[1..3, 1..4] OF Integer;
  Mine = Integer;
VAR
  i: Integer;
  r: Real;
  b: Boolean;
  s: String;
  m: Matrix;
  f: Flags;
  buffer: ARRAY[1..SizeOf(Integer) * 3] OF Integer;

BEGIN
  WriteLn('Integer ' + IntToStr(SizeOf(Integer)));
  WriteLn('Real ' + IntToStr(SizeOf(Real)));
  WriteLn('Boolean ' + IntToStr(SizeOf(Boolean)));
  WriteLn('String ' + IntToStr(SizeOf(String)));
  WriteLn('Mine ' + IntToStr(SizeOf(Mine)));
  WriteLn('Ints ' + IntToStr(SizeOf(Ints)));
  WriteLn('Reals ' + IntToStr(SizeOf(Reals)));
  WriteLn('Flags ' + IntToStr(SizeOf(Flags)));
  WriteLn('Texts ' + IntToStr(SizeOf(Texts)));
  WriteLn('Matrix ' + IntToStr(SizeOf(Matrix)));
  WriteLn('i ' + IntToStr(SizeOf(i)) + ', r ' + IntToStr(SizeOf(r)) + ', b ' + IntToStr(SizeOf(b)) +
          ', s ' + IntToStr(SizeOf(s)));
  WriteLn('m ' + IntToStr(SizeOf(m)) + ', m[1] ' + IntToStr(SizeOf(m[1])) + ', f ' + IntToStr(SizeOf(f)));
  WriteLn('buffer ' + IntToStr(SizeOf(buffer)));
  WriteLn('elements of Matrix ' + IntToStr(SizeOf(Matrix) DIV SizeOf(Integer)))
END.
