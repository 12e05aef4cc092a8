// Two areas share a table and its index as two processes would (each area has its own file
// handles and locks): one walks the order while the other changes keys, appends and changes
// records between its steps. Every step sees the index and the records as the other left
// them: a key moved away is not met, a new key right after the cursor is met next, a key
// moved to the front is met by the next walk from the top, the cursor's own record, changed by
// the other, is stepped from where this area last read it, and records read ahead under the
// file lock are read again once it is released.
PROCEDURE Main()
   LOCAL i
   ERRORBLOCK({|e| BREAK(e)})
   USE PRODUCT EXCLUSIVE
   FOR i := 1 TO LASTREC()
      DBGOTO(i)
      REPLACE ID_NR WITH i * 10
   NEXT
   ORDCREATE(, "IDS", "STR(ID_NR, 8)", {|| STR(ID_NR, 8)}, .F.)
   USE
   USE PRODUCT SHARED ALIAS WALKER
   SET ORDER TO TAG IDS
   USE PRODUCT SHARED NEW ALIAS OTHER
   SET ORDER TO TAG IDS
   SELECT WALKER
   DBGOTOP()
   DBSKIP(2)
   ? "on", RECNO(), ID_NR
   PutId(4, 5)               // the next key moves before the cursor
   DBSKIP()
   ? "next", RECNO(), ID_NR
   SELECT OTHER
   DBAPPEND()
   REPLACE ID_NR WITH 55     // a new key right after the cursor
   DBCOMMIT()
   DBUNLOCK()
   SELECT WALKER
   DBSKIP()
   ? "appended", RECNO(), ID_NR
   PutId(301, 2995)          // the cursor's own record moves near the end (unread here)
   DBSKIP()
   ? "moved", RECNO(), ID_NR
   DBSKIP(-1)
   ? "back", RECNO(), ID_NR
   PutId(300, 1)             // and now to the front
   DBSKIP(-1)
   ? "before", RECNO(), ID_NR, BOF()
   ? "flock", FLOCK()
   DBGOTOP()
   FOR i := 1 TO 4
      ?? "", ID_NR, TRIM(CUSTOMER)
      DBSKIP()
   NEXT
   SELECT OTHER
   DBGOTO(2)
   ? "other's rlock", RLOCK()
   SELECT WALKER
   DBUNLOCK()
   PutName(2, "Changed while unlocked")
   DBGOTO(2)
   ? "read", TRIM(CUSTOMER)
   ? "flock", FLOCK()
   DBGOTO(1)
   ?? "", TRIM(CUSTOMER)
   DBGOTO(2)
   ?? "", TRIM(CUSTOMER)
   DBUNLOCK()
   ? "check", CDXCHECK() == "", ORDKEYCOUNT() == LASTREC()
RETURN

// OTHER changes a record's ID_NR (its key), under its record lock; WALKER is selected again.
PROCEDURE PutId(nRec, nId)
   SELECT OTHER
   DBGOTO(nRec)
   RLOCK()
   REPLACE ID_NR WITH nId
   DBCOMMIT()
   DBUNLOCK()
   SELECT WALKER
RETURN

PROCEDURE PutName(nRec, cName)
   SELECT OTHER
   DBGOTO(nRec)
   RLOCK()
   REPLACE CUSTOMER WITH cName
   DBCOMMIT()
   DBUNLOCK()
   SELECT WALKER
RETURN
