// Work areas, aliases, selection and the default driver.
PROCEDURE Main()
   ERRORBLOCK({|e| BREAK(e)})
   ? RDDSETDEFAULT(), LEN(RDDLIST())
   TryPrint({|| RDDSETDEFAULT("XYZ")})
   ? RDDSETDEFAULT()
   DBCREATE("PRODUCT", {{"NAME", "C", 10, 0}})
   DBCREATE("other.dbf", {{"X", "N", 5, 2}})
   USE PRODUCT NEW
   ? SELECT(), ALIAS(), USED(), RDDNAME()
   TryPrint({|| DBUSEAREA(.T., , "other", "product")})
   ? SELECT(), USED()
   TryPrint({|| DBUSEAREA(.T., , "other", "9bad")})
   TryPrint({|| DBUSEAREA(.T., , "other", "A")})
   USE other NEW
   ? SELECT(), ALIAS(), ALIAS(1), SELECT("B"), SELECT("PRODUCT"), SELECT("nothere")
   DBSELECTAREA(0)
   ? SELECT(), USED()
   DBSELECTAREA("PRODUCT")
   ? SELECT(), ALIAS()
   DBSELECTAREA(70000)
   ? SELECT()
   DBSELECTAREA(2)
   ? ALIAS(), PRODUCT->NAME, OTHER->X
   TryPrint({|| DBSELECTAREA("nothere")})
   DBCLOSEALL()
   ? SELECT(), USED(), ALIAS(2)
   TryPrint({|| DBUSEAREA(.T., , "missing")})
   ? NETERR(), USED()
   TryPrint({|| DBGOTOP()})
   ? EOF(), BOF(), RECNO(), FCOUNT(), FIELDGET(1), FOUND()
RETURN

FUNCTION TryPrint(bCode)
   LOCAL oErr
   BEGIN SEQUENCE
      EVAL(bCode)
   RECOVER USING oErr
      ? "error", oErr:genCode, oErr:subCode, oErr:operation, oErr:osCode
   END SEQUENCE
RETURN NIL
