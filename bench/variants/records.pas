PROGRAM BenchRecordsVar;
{ Variant of records: the walk and the reversal in procedures taking the list head as a VAR
  parameter, REPEAT loops, a nested procedure updating a node through a VAR record parameter. }
CONST
  Count = 2000;
  Rounds = 50000;
TYPE
  PNode = ^Node;
  Node = RECORD
    value: Integer;
    weight: Real;
    next: PNode
  END;
VAR
  pool: ARRAY[1..Count] OF Node;
  head: PNode;
  i, r, sum, length: Integer;
  w: Real;

PROCEDURE Walk(VAR first: PNode; VAR total, len: Integer; VAR weight: Real);
VAR
  p: PNode;

  PROCEDURE Visit(VAR n: Node);
  BEGIN
    total := (n.value + total * 31 + len) MOD 1000003;
    weight := weight + n.weight;
    n.value := (1 + n.value) MOD 1000;
    len := len + 1
  END;

BEGIN
  len := 0;
  p := first;
  REPEAT
    Visit(p^);
    p := p^.next
  UNTIL p = NIL
END;

PROCEDURE Reverse(VAR first: PNode);
VAR
  p, prev, nxt: PNode;
BEGIN
  prev := NIL;
  p := first;
  REPEAT
    nxt := p^.next;
    p^.next := prev;
    prev := p;
    p := nxt
  UNTIL p = NIL;
  first := prev
END;

BEGIN
  head := NIL;
  FOR i := 1 TO Count DO
  BEGIN
    pool[i].value := (i * 37) MOD 1000;
    pool[i].weight := i / Count;
    pool[i].next := head;
    head := @pool[i]
  END;
  sum := 0;
  w := 0;
  FOR r := 1 TO Rounds DO
  BEGIN
    Walk(head, sum, length, w);
    Reverse(head)
  END;
  WriteLn('length: ' + IntToStr(length) + ', checksum: ' + IntToStr(sum) + ', weight: ' + FloatToStr(w))
END.
