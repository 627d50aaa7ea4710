PROGRAM ArrayOfRecords;
{ An array of records used as a small table: insert, search, update, sort by two keys. }
CONST
  Max = 8;
TYPE
  Item = RECORD
    name: String;
    qty: Integer;
    price: Real
  END;
  Table = RECORD
    count: Integer;
    items: ARRAY[1..Max] OF Item
  END;
VAR
  stock: Table;
  i, j: Integer;
  t: Item;
  value: Real;

PROCEDURE Add(VAR tb: Table; n: String; q: Integer; p: Real);
BEGIN
  tb.count := tb.count + 1;
  tb.items[tb.count].name := n;
  tb.items[tb.count].qty := q;
  tb.items[tb.count].price := p
END;

FUNCTION Find(VAR tb: Table; n: String): Integer;
VAR
  k: Integer;
BEGIN
  Find := 0;
  FOR k := 1 TO tb.count DO
    IF tb.items[k].name = n THEN
    BEGIN
      Find := k;
      EXIT
    END
END;

PROCEDURE List(VAR tb: Table);
VAR
  k: Integer;
BEGIN
  FOR k := 1 TO tb.count DO
    WriteLn('  ' + tb.items[k].name + ' x' + IntToStr(tb.items[k].qty) + ' @ ' + FloatToStr(tb.items[k].price))
END;

BEGIN
  stock.count := 0;
  Add(stock, 'pear', 12, 0.5);
  Add(stock, 'apple', 30, 0.25);
  Add(stock, 'melon', 2, 3.75);
  Add(stock, 'kiwi', 30, 0.4);
  Add(stock, 'fig', 12, 1.2);
  WriteLn('stock:');
  List(stock);
  i := Find(stock, 'melon');
  WriteLn('melon at ' + IntToStr(i));
  stock.items[i].qty := stock.items[i].qty + 5;
  WriteLn('banana at ' + IntToStr(Find(stock, 'banana')));
  { sort: quantity descending, then name ascending }
  FOR i := 1 TO stock.count - 1 DO
    FOR j := stock.count DOWNTO i + 1 DO
      IF (stock.items[j].qty > stock.items[j - 1].qty) OR
         ((stock.items[j].qty = stock.items[j - 1].qty) AND (stock.items[j].name < stock.items[j - 1].name)) THEN
      BEGIN
        t := stock.items[j];
        stock.items[j] := stock.items[j - 1];
        stock.items[j - 1] := t
      END;
  WriteLn('sorted:');
  List(stock);
  value := 0;
  FOR i := 1 TO stock.count DO value := value + stock.items[i].qty * stock.items[i].price;
  WriteLn('total value = ' + FloatToStr(value))
END.
