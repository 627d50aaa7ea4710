PROGRAM RomanNumerals;
{ Integers to Roman numerals with parallel arrays of values and symbols. }
TYPE
  Values = ARRAY[1..13] OF Integer;
  Symbols = ARRAY[1..13] OF String;
VAR
  v: Values;
  sym: Symbols;
  i: Integer;
  line: String;

FUNCTION Roman(n: Integer): String;
VAR
  k: Integer;
BEGIN
  Result := '';
  FOR k := 1 TO 13 DO
    WHILE n >= v[k] DO
    BEGIN
      Result := Result + sym[k];
      n := n - v[k]
    END
END;

PROCEDURE Pair(k, value: Integer; s: String);
BEGIN
  v[k] := value;
  sym[k] := s
END;

BEGIN
  Pair(1, 1000, 'M');
  Pair(2, 900, 'CM');
  Pair(3, 500, 'D');
  Pair(4, 400, 'CD');
  Pair(5, 100, 'C');
  Pair(6, 90, 'XC');
  Pair(7, 50, 'L');
  Pair(8, 40, 'XL');
  Pair(9, 10, 'X');
  Pair(10, 9, 'IX');
  Pair(11, 5, 'V');
  Pair(12, 4, 'IV');
  Pair(13, 1, 'I');
  line := '';
  FOR i := 1 TO 20 DO line := line + Roman(i) + ' ';
  WriteLn(line);
  WriteLn('1987 = ' + Roman(1987));
  WriteLn('2024 = ' + Roman(2024));
  WriteLn('3999 = ' + Roman(3999));
  WriteLn('444 = ' + Roman(444))
END.
