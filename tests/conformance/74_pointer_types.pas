PROGRAM PointerTypes;
{ Pointer types declared before their targets, two record types pointing at each other,
  an alias of a pointer type, the untyped Pointer, and pointers to pointers. }
TYPE
  PTeacher = ^Teacher;
  PPupil = ^Pupil;
  Teacher = RECORD
    name: String;
    first: PPupil
  END;
  Pupil = RECORD
    name: String;
    teacher: PTeacher;
    next: PPupil
  END;
  PupilLink = PPupil;
  PInt = ^Integer;
  PPInt = ^PInt;
VAR
  teachers: ARRAY[1..2] OF Teacher;
  pupils: ARRAY[1..5] OF Pupil;
  i: Integer;
  link: PupilLink;
  any: Pointer;
  n, m: Integer;
  pn: PInt;
  ppn: PPInt;

PROCEDURE Enrol(VAR t: Teacher; k: Integer; who: String);
BEGIN
  pupils[k].name := who;
  pupils[k].teacher := @t;
  pupils[k].next := t.first;
  t.first := @pupils[k]
END;

FUNCTION ClassList(t: PTeacher): String;
VAR
  p: PupilLink;
BEGIN
  Result := t^.name + ':';
  p := t^.first;
  WHILE p <> NIL DO
  BEGIN
    Result := Result + ' ' + p^.name + '(' + p^.teacher^.name + ')';
    p := p^.next
  END
END;

BEGIN
  teachers[1].name := 'Holm';
  teachers[1].first := NIL;
  teachers[2].name := 'Vik';
  teachers[2].first := NIL;
  Enrol(teachers[1], 1, 'Ada');
  Enrol(teachers[2], 2, 'Bo');
  Enrol(teachers[1], 3, 'Cy');
  Enrol(teachers[2], 4, 'Di');
  Enrol(teachers[1], 5, 'Ed');
  FOR i := 1 TO 2 DO WriteLn(ClassList(@teachers[i]));
  link := teachers[2].first;
  WriteLn('first pupil of ' + link^.teacher^.name + ' is ' + link^.name +
          ', whose teacher''s first pupil is ' + link^.teacher^.first^.name);
  n := 5;
  m := 6;
  any := @n;
  pn := any;
  pn^ := pn^ * 10;
  WriteLn('n = ' + IntToStr(n));
  any := NIL;
  IF any = NIL THEN WriteLn('untyped pointer is NIL');
  pn := @m;
  ppn := @pn;
  ppn^^ := ppn^^ + 1;
  WriteLn('m = ' + IntToStr(m));
  pn := @n;
  WriteLn('through the pointer to a pointer: ' + IntToStr(ppn^^))
END.
