// Shared use: locks required for changes, record and file locks between two handles, appends
// seen by the other handle, exclusive-only operations and share conflicts.
PROCEDURE Main()
   ERRORBLOCK({|e| BREAK(e)})
   DBCREATE("s", {{"NAME", "C", 5, 0}, {"QTY", "N", 4, 0}})
   USE s SHARED NEW ALIAS one
   DBAPPEND()
   FIELDPUT(1, "first")
   DBCOMMIT()
   ? RECCOUNT(), RECNO(), ONE->NAME, DBINFO(36), DBINFO(31)
   DBUNLOCK()
   TryPrint({|| FIELDPUT(2, 5)})
   ? RLOCK(), DBINFO(31)
   TryPrint({|| FIELDPUT(2, 5)})
   USE s SHARED NEW ALIAS two
   ? TWO->QTY, RLOCK(), FLOCK(), DBRLOCK(1)
   DBAPPEND()
   ? RECNO(), RECCOUNT()
   FIELDPUT(1, "two")
   DBCOMMIT()
   DBSELECTAREA("one")
   ? RECCOUNT()
   DBGOBOTTOM()
   ? RECNO(), NAME
   DBUNLOCK()
   DBSELECTAREA("two")
   ? DBRLOCK(1), FLOCK()
   DBUNLOCKALL()
   ? FLOCK(), DBINFO(20)
   TryPrint({|| __DBPACK()})
   TryPrint({|| __DBZAP()})
   TryPrint({|| DBUSEAREA(.T., , "s", "three", .F.)})
   DBCLOSEALL()
   USE s EXCLUSIVE NEW
   TryPrint({|| DBUSEAREA(.T., , "s", "four", .T.)})
   ? SELECT(), USED()
   DBSELECTAREA(1)
   ? ALIAS(), RECCOUNT(), HEADER(), VALTYPE(LUPDATE()), LUPDATE() == DATE()
RETURN

FUNCTION TryPrint(bCode)
   LOCAL oErr
   BEGIN SEQUENCE
      ? "value", EVAL(bCode)
   RECOVER USING oErr
      ? "error", oErr:genCode, oErr:subCode, oErr:description, oErr:osCode, oErr:canDefault
   END SEQUENCE
RETURN NIL
