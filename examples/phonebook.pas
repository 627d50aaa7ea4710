PROGRAM Phonebook;
{ A small database of records. Commands, one per line:
    add     then a name line and a number line
    find    then a name line
    list
    quit }
CONST
  Capacity = 20;
TYPE
  Entry = RECORD
    name: String;
    phone: String;
    calls: Integer
  END;
VAR
  book: ARRAY[1..Capacity] OF Entry;
  count, i, k: Integer;
  command, who: String;
  tmp: Entry;

FUNCTION Find(name: String): Integer;
VAR
  j: Integer;
BEGIN
  Find := 0;
  FOR j := 1 TO count DO
    IF book[j].name = name THEN Find := j
END;

BEGIN
  count := 0;
  REPEAT
    Write('Command (add, find, list, quit): ');
    ReadLn(command);
    IF command = 'add' THEN
    BEGIN
      IF count = Capacity THEN WriteLn('The book is full.')
      ELSE
      BEGIN
        count := count + 1;
        Write('Name: ');
        ReadLn(book[count].name);
        Write('Number: ');
        ReadLn(book[count].phone);
        book[count].calls := 0;
        WriteLn('Added ' + book[count].name + '.')
      END
    END
    ELSE IF command = 'find' THEN
    BEGIN
      Write('Name: ');
      ReadLn(who);
      i := Find(who);
      IF i = 0 THEN WriteLn(who + ' is not in the book.')
      ELSE
      BEGIN
        book[i].calls := book[i].calls + 1;
        WriteLn(who + ': ' + book[i].phone)
      END
    END
    ELSE IF command = 'list' THEN
    BEGIN
      { sort by name first: a simple exchange sort on whole records }
      FOR i := 1 TO count - 1 DO
        FOR k := i + 1 TO count DO
          IF book[k].name < book[i].name THEN
          BEGIN
            tmp := book[i];
            book[i] := book[k];
            book[k] := tmp
          END;
      FOR i := 1 TO count DO
        WriteLn(book[i].name + ', ' + book[i].phone + ' (looked up ' + IntToStr(book[i].calls) + ' times)');
      WriteLn(IntToStr(count) + ' entries.')
    END
    ELSE IF command <> 'quit' THEN
      WriteLn('Unknown command: ' + command)
  UNTIL command = 'quit';
  WriteLn('Goodbye.')
END.
