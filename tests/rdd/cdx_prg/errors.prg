// Failures of the order functions: no table, missing arguments, keys that do not compile or
// give no usable type, FOR conditions that are not logical, missing and damaged index files,
// rebuilding in shared use, seeking without an order.
PROCEDURE Main()
   LOCAL h
   ERRORBLOCK({|e| BREAK(e)})
   TryPrint({|| ORDCREATE(, "T", "ID_NR")})
   TryPrint({|| ORDKEYCOUNT()})
   USE PRODUCT
   TryPrint({|| ORDCREATE()})
   TryPrint({|| ORDCREATE(, "T")})
   TryPrint({|| ORDCREATE(, "T", "ID_NR +* 2")})
   ? ORDCOUNT(), FILE("PRODUCT.cdx")
   TryPrint({|| ORDCREATE(, "T", "NIL", {|| NIL})})
   TryPrint({|| ORDCREATE(, "T", "''", {|| ""})})
   TryPrint({|| ORDCONDSET("ID_NR", {|| ID_NR}), ORDCREATE(, "T", "ID_NR")})
   TryPrint({|| ORDLISTADD("nothere")})
   TryPrint({|| DBSEEK(1)})
   TryPrint({|| ORDSETFOCUS("nothing")})
   TryPrint({|| ORDCREATE("other", "T", "ID_NR")})
   ? ORDCOUNT(), ORDBAGNAME(1), INDEXORD(), FILE("other.cdx")
   DBCLOSEAREA()
   // A damaged production index: the table opens without it after the error.
   h := FCREATE("PRODUCT.cdx")
   FWRITE(h, REPLICATE("x", 600))
   FCLOSE(h)
   TryPrint({|| DBUSEAREA(.T., , "PRODUCT")})
   ? USED(), ORDCOUNT()
   DBCLOSEALL()
   FERASE("PRODUCT.cdx")
   USE PRODUCT SHARED
   ? ORDCOUNT()
   TryPrint({|| ORDLISTADD("other")})
   TryPrint({|| ORDLISTREBUILD()})
RETURN

FUNCTION TryPrint(bCode)
   LOCAL oErr
   BEGIN SEQUENCE
      ? "value", EVAL(bCode)
   RECOVER USING oErr
      ? "error", oErr:genCode, oErr:subCode, oErr:operation, oErr:subSystem, oErr:description
   END SEQUENCE
RETURN NIL
