PROGRAM StackQueue;
{ A stack and a circular queue kept in records with arrays; bracket matching with the stack,
  a round-robin schedule with the queue. }
CONST
  Size = 16;
TYPE
  Stack = RECORD
    top: Integer;
    items: ARRAY[1..Size] OF Integer
  END;
  Queue = RECORD
    head, count: Integer;
    items: ARRAY[0..Size - 1] OF Integer
  END;
VAR
  s: Stack;
  q: Queue;
  i, v, time: Integer;
  work: ARRAY[1..5] OF Integer;

PROCEDURE Push(VAR st: Stack; x: Integer);
BEGIN
  st.top := st.top + 1;
  st.items[st.top] := x
END;

FUNCTION Pop(VAR st: Stack): Integer;
BEGIN
  Pop := st.items[st.top];
  st.top := st.top - 1
END;

PROCEDURE Enqueue(VAR qu: Queue; x: Integer);
BEGIN
  qu.items[(qu.head + qu.count) MOD Size] := x;
  qu.count := qu.count + 1
END;

FUNCTION Dequeue(VAR qu: Queue): Integer;
BEGIN
  Dequeue := qu.items[qu.head];
  qu.head := (qu.head + 1) MOD Size;
  qu.count := qu.count - 1
END;

{ Brackets are coded as digits: 1, 2 and 3 open, 4, 5 and 6 close the same kind. }
FUNCTION Balanced(code: Integer): Boolean;
VAR
  st: Stack;
  b: Integer;
BEGIN
  st.top := 0;
  Balanced := FALSE;
  WHILE code > 0 DO
  BEGIN
    b := code MOD 10;
    code := code DIV 10;
    IF b <= 3 THEN Push(st, b)
    ELSE
    BEGIN
      IF st.top = 0 THEN EXIT;
      IF Pop(st) <> b - 3 THEN EXIT
    END
  END;
  Balanced := st.top = 0
END;

BEGIN
  s.top := 0;
  FOR i := 1 TO 6 DO Push(s, i * i);
  Write('popped:');
  WHILE s.top > 0 DO Write(' ' + IntToStr(Pop(s)));
  WriteLn('');
  IF Balanced(456321) THEN WriteLn('456321 balanced') ELSE WriteLn('456321 not balanced');
  IF Balanced(5421) THEN WriteLn('5421 balanced') ELSE WriteLn('5421 not balanced');
  IF Balanced(4141) THEN WriteLn('4141 balanced') ELSE WriteLn('4141 not balanced');
  IF Balanced(41) THEN WriteLn('41 balanced') ELSE WriteLn('41 not balanced');
  q.head := 0;
  q.count := 0;
  FOR i := 1 TO 5 DO
  BEGIN
    work[i] := i * 3;
    Enqueue(q, i)
  END;
  time := 0;
  WHILE q.count > 0 DO
  BEGIN
    v := Dequeue(q);
    IF work[v] > 4 THEN
    BEGIN
      work[v] := work[v] - 4;
      time := time + 4;
      Enqueue(q, v)
    END
    ELSE
    BEGIN
      time := time + work[v];
      WriteLn('job ' + IntToStr(v) + ' done at ' + IntToStr(time))
    END
  END
END.
