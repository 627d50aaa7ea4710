PROGRAM LinkedList;
{ A singly linked list whose nodes live in an array of records and are linked by pointers:
  insertion in order, traversal, deletion, reversal. }
CONST
  Capacity = 20;
TYPE
  PNode = ^Node;
  Node = RECORD
    value: Integer;
    next: PNode
  END;
VAR
  pool: ARRAY[1..Capacity] OF Node;
  used: Integer;
  head: PNode;
  i: Integer;

FUNCTION NewNode(v: Integer): PNode;
BEGIN
  used := used + 1;
  pool[used].value := v;
  pool[used].next := NIL;
  NewNode := @pool[used]
END;

PROCEDURE InsertSorted(VAR list: PNode; n: PNode);
VAR
  cur: PNode;
BEGIN
  IF list = NIL THEN
  BEGIN
    list := n;
    EXIT
  END;
  IF n^.value < list^.value THEN
  BEGIN
    n^.next := list;
    list := n;
    EXIT
  END;
  cur := list;
  WHILE cur^.next <> NIL DO
  BEGIN
    IF cur^.next^.value > n^.value THEN BREAK;
    cur := cur^.next
  END;
  n^.next := cur^.next;
  cur^.next := n
END;

PROCEDURE Print(list: PNode; title: String);
VAR
  line: String;
BEGIN
  line := '';
  WHILE list <> NIL DO
  BEGIN
    line := line + IntToStr(list^.value) + ' ';
    list := list^.next
  END;
  WriteLn(title + ': ' + line)
END;

PROCEDURE Remove(VAR list: PNode; v: Integer);
VAR
  cur: PNode;
BEGIN
  IF list = NIL THEN EXIT;
  IF list^.value = v THEN
  BEGIN
    list := list^.next;
    EXIT
  END;
  cur := list;
  WHILE cur^.next <> NIL DO
  BEGIN
    IF cur^.next^.value = v THEN
    BEGIN
      cur^.next := cur^.next^.next;
      EXIT
    END;
    cur := cur^.next
  END
END;

FUNCTION Reverse(list: PNode): PNode;
VAR
  prev, nxt: PNode;
BEGIN
  prev := NIL;
  WHILE list <> NIL DO
  BEGIN
    nxt := list^.next;
    list^.next := prev;
    prev := list;
    list := nxt
  END;
  Reverse := prev
END;

FUNCTION Count(list: PNode): Integer;
BEGIN
  IF list = NIL THEN Count := 0 ELSE Count := 1 + Count(list^.next)
END;

BEGIN
  used := 0;
  head := NIL;
  FOR i := 1 TO 12 DO InsertSorted(head, NewNode((i * 7) MOD 13));
  Print(head, 'sorted');
  WriteLn('count = ' + IntToStr(Count(head)));
  Remove(head, 1);
  Remove(head, 12);
  Remove(head, 6);
  Remove(head, 99);
  Print(head, 'removed 1, 12, 6');
  head := Reverse(head);
  Print(head, 'reversed');
  WriteLn('count = ' + IntToStr(Count(head)));
  WriteLn('pool[1] holds ' + IntToStr(pool[1].value))
END.
