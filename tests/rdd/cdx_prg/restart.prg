// The application's start, three times: each start opens both tables in shared use (the
// production index opens with them) and creates the three tags again from the data. The
// headers and tree pages of the replaced tags are reused, so after the first start the file
// grows only by what the appended record needs. The tags stay whole.
PROCEDURE Main()
   LOCAL nStart, aSize := {}
   ERRORBLOCK({|e| BREAK(e)})
   SET EXCLUSIVE OFF
   FOR nStart := 1 TO 3
      USE PRODUCT NEW
      ? "start", nStart, ORDCOUNT(), INDEXORD()
      ORDCREATE(, "EXCEL1", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
      ORDCREATE(, "EXCEL2", "LOWER(CUSTOMER) + INVOICE ", {|| LOWER(CUSTOMER) + INVOICE }, .F.)
      ORDCREATE(, "EXCEL3", "LOWER(PRODUCT)", {|| LOWER(PRODUCT)}, .F.)
      USE PRODUCT1 NEW
      ORDCREATE(, "ID", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
      ORDCREATE(, "CUSTOMER", "LOWER(CUSTOMER) + INVOICE ", {|| LOWER(CUSTOMER) + INVOICE }, .F.)
      ORDCREATE(, "PRODUCT", "LOWER(PRODUCT)", {|| LOWER(PRODUCT)}, .F.)
      ? "  PRODUCT1", ORDCOUNT(), ORDNAME(1), ORDNAME(3), INDEXORD(), CDXCHECK() == ""
      SELECT PRODUCT
      ? "  PRODUCT", ORDCOUNT(), ORDNAME(1), ORDNAME(3), INDEXORD(), CDXCHECK() == ""
      // an append between starts
      APPEND BLANK
      REPLACE ID_NR WITH 50000 + nStart, CUSTOMER WITH "Start", PRODUCT WITH "Start"
      DBCOMMIT()
      ? "  keys", ORDKEYCOUNT() == RECCOUNT()
      DBCLOSEALL()
      AADD(aSize, FileSize("PRODUCT.cdx"))
   NEXT
   ? "growth per start", aSize[2] - aSize[1], aSize[3] - aSize[2]
   USE PRODUCT
   SET ORDER TO TAG EXCEL2
   ? DBSEEK("start"), ID_NR
RETURN

FUNCTION FileSize(cFile)
   LOCAL aDir := DIRECTORY(cFile)
RETURN IIF(LEN(aDir) == 1, aDir[1][2], -1)
