// Two areas share a table and its production index: when one creates a tag again (the
// application's start in a second instance), the other loads the file's new tags before it
// maintains keys or moves (a skip too), so its changes reach the new tag and it walks the
// new order. Both number the orders alike (in header order).
PROCEDURE Main()
   ERRORBLOCK({|e| BREAK(e)})
   USE PRODUCT SHARED
   ? ORDCREATE(, "EXCEL1", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
   ? ORDCREATE(, "EXCEL2", "LOWER(CUSTOMER) + INVOICE", {|| LOWER(CUSTOMER) + INVOICE}, .F.)
   ? ORDCOUNT(), ORDKEYCOUNT(), CDXCHECK() == ""
   USE PRODUCT SHARED NEW ALIAS P2
   SET ORDER TO TAG EXCEL1
   ? ORDCOUNT(), ORDKEYCOUNT()
   SELECT 1
   ? ORDCREATE(, "EXCEL1", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
   ? ORDNAME(1), ORDNAME(2)
   SELECT P2
   DBGOTO(3)
   ? RLOCK()
   REPLACE ID_NR WITH 1
   DBCOMMIT()
   DBUNLOCK()
   ? ORDNAME(1), ORDNAME(2), ORDNAME()
   DBGOTOP()
   ? ID_NR, RECNO()
   SELECT 1
   SET ORDER TO TAG EXCEL1
   DBGOTOP()
   ? ID_NR, RECNO(), CDXCHECK() == ""
   SELECT P2
   SET ORDER TO TAG EXCEL1
   DBGOTOP()
   SELECT 1
   ORDCREATE(, "EXCEL1", "STR(99999 - ID_NR)", {|| STR(99999 - ID_NR)}, .F.)  // highest first
   SELECT P2
   ? ID_NR, RECNO()
   DBSKIP()
   ? ORDKEY(), EOF(), ORDNAME(1), ORDNAME(2)
   DBGOBOTTOM()
   ? ID_NR, RECNO()
   DBSKIP(-1)
   ? ID_NR, RECNO(), CDXCHECK() == ""
RETURN
