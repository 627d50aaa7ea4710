PROGRAM Shopping;
{ Pointers: records linked into a list. The nodes are the elements of an array; "@" gives the
  address of one, "^" follows a pointer, and NIL marks the end of the list. }
TYPE
  PItem = ^Item;
  Item = RECORD
    what: String;
    price: Real;
    next: PItem
  END;
VAR
  store: ARRAY[1..10] OF Item;
  used: Integer;
  first, p: PItem;
  total: Real;

{ Puts a new item at the front of the list. }
PROCEDURE Add(what: String; price: Real);
BEGIN
  used := used + 1;
  store[used].what := what;
  store[used].price := price;
  store[used].next := first;
  first := @store[used]
END;

BEGIN
  used := 0;
  first := NIL;
  Add('bread', 2.5);
  Add('milk', 1.2);
  Add('apples', 3.75);
  Add('cheese', 6.4);
  total := 0.0;
  p := first;
  WHILE p <> NIL DO
  BEGIN
    WriteLn(p^.what + ': ' + FloatToStr(p^.price));
    total := total + p^.price;
    p := p^.next
  END;
  WriteLn('Total: ' + FloatToStr(total))
END.
