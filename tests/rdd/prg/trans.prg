// __DBCOPY and __DBAPP: copying a scope of records to a new table and appending from another.
PROCEDURE Main()
   LOCAL n
   DBCREATE("src", {{"ID", "N", 3, 0}, {"NAME", "C", 6, 0}, {"NOTE", "M", 10, 0}})
   USE src NEW SHARED
   FOR n := 1 TO 6
      DBAPPEND()
      FIELDPUT(1, n)
      FIELDPUT(2, "name" + STR(n, 1))
      FIELDPUT(3, "memo of " + STR(n, 1))
   NEXT
   ? __DBCOPY("even", , {|| FIELDGET(1) % 2 == 0})
   ? __DBCOPY("names", {"name"})
   ? SELECT(), ALIAS()
   USE even NEW
   ? RECCOUNT(), FCOUNT()
   DBGOTOP()
   DO WHILE !EOF()
      ? ID, NAME, NOTE
      DBSKIP()
   ENDDO
   ? __DBAPP("src", , , , 2, , .F.)
   ? RECCOUNT()
   DBGOBOTTOM()
   ? ID, NAME, NOTE
   USE names NEW
   ? RECCOUNT(), FCOUNT(), FIELDNAME(1)
RETURN
