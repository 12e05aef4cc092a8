// Relations: the child follows the parent by record number; closing the child drops them.
PROCEDURE Main()
   LOCAL n
   DBCREATE("parent", {{"ID", "N", 3, 0}, {"REF", "N", 3, 0}})
   DBCREATE("child", {{"TEXT", "C", 8, 0}})
   USE child NEW
   FOR n := 1 TO 3
      DBAPPEND()
      FIELDPUT(1, "child " + STR(n, 1))
   NEXT
   USE parent NEW
   FOR n := 1 TO 4
      DBAPPEND()
      FIELDPUT(1, n)
      FIELDPUT(2, 4 - n)
   NEXT
   DBSETRELATION("child", {|| PARENT->REF}, "REF")
   ? DBRSELECT(), DBRELATION(), DBRSELECT(2), "[" + DBRELATION(2) + "]"
   DBGOTOP()
   DO WHILE !EOF()
      ? PARENT->ID, PARENT->REF, CHILD->(RECNO()), CHILD->TEXT, CHILD->(EOF())
      DBSKIP()
   ENDDO
   ? "parent at eof:", CHILD->(EOF())
   DBSELECTAREA("child")
   DBCLOSEAREA()
   DBSELECTAREA("parent")
   ? DBRSELECT(), "[" + DBRELATION() + "]"
   DBGOTOP()
   ? PARENT->ID
   DBCLEARRELATION()
   DBCLOSEALL()
RETURN
