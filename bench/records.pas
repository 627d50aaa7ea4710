PROGRAM BenchRecords;
{ Benchmark: records linked through pointers. The nodes are elements of an array; a list is
  built, walked, summed and reversed many times. }
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
  head, p, prev, nxt: PNode;
  i, r, sum, length: Integer;
  w: Real;

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
    length := 0;
    p := head;
    WHILE p <> NIL DO
    BEGIN
      sum := (sum * 31 + p^.value + length) MOD 1000003;
      w := w + p^.weight;
      p^.value := (p^.value + 1) MOD 1000;
      length := length + 1;
      p := p^.next
    END;
    prev := NIL;
    p := head;
    WHILE p <> NIL DO
    BEGIN
      nxt := p^.next;
      p^.next := prev;
      prev := p;
      p := nxt
    END;
    head := prev
  END;
  WriteLn('length: ' + IntToStr(length) + ', checksum: ' + IntToStr(sum) + ', weight: ' + FloatToStr(w))
END.
