PROGRAM PointerStructures;
{ A binary search tree whose nodes are records of an array, linked by pointers;
  recursive insert, in-order walk, height and search. }
TYPE
  PTree = ^TreeNode;
  TreeNode = RECORD
    key: Integer;
    left, right: PTree
  END;
VAR
  nodes: ARRAY[1..40] OF TreeNode;
  used: Integer;
  root: PTree;
  keys: ARRAY[1..15] OF Integer;
  i: Integer;
  line: String;

PROCEDURE Insert(VAR t: PTree; k: Integer);
BEGIN
  IF t = NIL THEN
  BEGIN
    used := used + 1;
    nodes[used].key := k;
    nodes[used].left := NIL;
    nodes[used].right := NIL;
    t := @nodes[used]
  END
  ELSE IF k < t^.key THEN Insert(t^.left, k)
  ELSE Insert(t^.right, k)
END;

PROCEDURE Walk(t: PTree);
BEGIN
  IF t <> NIL THEN
  BEGIN
    Walk(t^.left);
    line := line + IntToStr(t^.key) + ' ';
    Walk(t^.right)
  END
END;

FUNCTION Height(t: PTree): Integer;
VAR
  hl, hr: Integer;
BEGIN
  IF t = NIL THEN Height := 0
  ELSE
  BEGIN
    hl := Height(t^.left);
    hr := Height(t^.right);
    IF hl > hr THEN Height := hl + 1 ELSE Height := hr + 1
  END
END;

FUNCTION Contains(t: PTree; k: Integer): Boolean;
BEGIN
  Contains := FALSE;
  WHILE t <> NIL DO
  BEGIN
    IF t^.key = k THEN
    BEGIN
      Contains := TRUE;
      EXIT
    END;
    IF k < t^.key THEN t := t^.left ELSE t := t^.right
  END
END;

BEGIN
  used := 0;
  root := NIL;
  FOR i := 1 TO 15 DO keys[i] := (i * 11) MOD 31;
  FOR i := 1 TO 15 DO Insert(root, keys[i]);
  line := '';
  Walk(root);
  WriteLn('in order: ' + line);
  WriteLn('height: ' + IntToStr(Height(root)));
  WriteLn('root key: ' + IntToStr(root^.key) + ', left child: ' + IntToStr(root^.left^.key));
  line := '';
  FOR i := 0 TO 12 DO
    IF Contains(root, i) THEN line := line + IntToStr(i) + ' ';
  WriteLn('present among 0..12: ' + line)
END.
