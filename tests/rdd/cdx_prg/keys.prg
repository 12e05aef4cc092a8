// Keys follow the records: REPLACE, APPEND and DELETE with three open tags, descending,
// unique and FOR tags, scopes, PACK and ZAP rebuilding, and the production index opening
// again with the table.
PROCEDURE Main()
   LOCAL n, nRec
   ERRORBLOCK({|e| BREAK(e)})
   USE PRODUCT
   INDEX ON STR(ID_NR) TAG EXCEL1
   INDEX ON LOWER(CUSTOMER) + INVOICE TAG EXCEL2
   INDEX ON LOWER(PRODUCT) TAG EXCEL3
   ? ORDCOUNT(), ORDNAME(), RECCOUNT()
   // REPLACE moves the record in every order.
   SET ORDER TO TAG EXCEL3
   DBGOTO(34)
   REPLACE PRODUCT WITH "Zzz last", CUSTOMER WITH "Aaa first", ID_NR WITH 1
   DBCOMMIT()
   DBGOBOTTOM()
   ? RECNO(), TRIM(PRODUCT), ORDKEYNO()
   SET ORDER TO TAG EXCEL2
   DBGOTOP()
   ? RECNO(), TRIM(CUSTOMER)
   SET ORDER TO TAG EXCEL1
   DBGOTOP()
   ? RECNO(), ID_NR
   ? CDXCHECK() == "", ORDKEYCOUNT()
   // The next skip starts from the record's new place.
   SET ORDER TO TAG EXCEL3
   DBSEEK("hotline")
   nRec := RECNO()
   REPLACE PRODUCT WITH "Aaa"
   DBSKIP()
   ? nRec, RECNO(), TRIM(PRODUCT)
   DBSKIP(-1)
   ? RECNO() == nRec, ORDKEYNO()
   // APPEND adds keys, DELETE keeps them.
   APPEND BLANK
   REPLACE ID_NR WITH 99999, CUSTOMER WITH "Mmm", PRODUCT WITH "Mmm", INVOICE WITH "X1"
   nRec := RECNO()
   SET ORDER TO TAG EXCEL1
   DBGOBOTTOM()
   ? RECNO() == nRec, ID_NR, ORDKEYCOUNT(), RECCOUNT()
   ? DBSEEK(STR(99999, 8)), RECNO() == nRec
   DBDELETE()
   ? ORDKEYCOUNT(), CDXCHECK() == ""
   SET DELETED ON
   ? DBSEEK(STR(99999, 8)), EOF()
   SET DELETED OFF
   FOR n := 1 TO 50
      APPEND BLANK
      REPLACE ID_NR WITH 20000 + n, PRODUCT WITH "New " + STR(n, 2)
   NEXT
   ? ORDKEYCOUNT(), RECCOUNT(), CDXCHECK() == ""
   // PACK drops the deleted record and rebuilds every tag.
   PACK
   ? RECCOUNT(), ORDKEYCOUNT(), ORDCOUNT(), CDXCHECK() == "", DBSEEK(STR(99999, 8))
   // Reopening opens the production index with the table.
   DBCLOSEAREA()
   USE PRODUCT
   ? ORDCOUNT(), INDEXORD(), ORDNAME(2)
   SET ORDER TO 1
   DBGOBOTTOM()
   ? ID_NR, ORDKEYCOUNT(), CDXCHECK() == ""
   // Descending, unique and FOR tags, and scopes.
   INDEX ON PRODUCT TAG DESC DESCENDING
   DBGOTOP()
   ? TRIM(PRODUCT), ORDKEYNO(), ORDDESCEND()
   DBGOBOTTOM()
   ? "[" + TRIM(PRODUCT) + "]", ORDKEYNO() == ORDKEYCOUNT()
   INDEX ON LOWER(PRODUCT) TAG UNIQ UNIQUE
   ? ORDKEYCOUNT(), ORDISUNIQUE(), CDXCHECK() == ""
   INDEX ON ID_NR TAG BIGID FOR ID_NR > 20040
   ? ORDKEYCOUNT(), "[" + ORDFOR() + "]"
   DBGOTOP()
   ? ID_NR
   INDEX ON LOWER(PRODUCT) TAG SCOPED
   ORDSCOPE(0, "program")
   ORDSCOPE(1, "program 05")
   ? ORDSCOPE(0), ORDSCOPE(1), ORDKEYCOUNT()
   DBGOTOP()
   ? TRIM(PRODUCT)
   DBGOBOTTOM()
   ? TRIM(PRODUCT)
   DBSKIP()
   ? EOF()
   ? DBSEEK("hotline"), EOF()
   ORDSCOPE(0, NIL)
   ORDSCOPE(1, NIL)
   ? ORDKEYCOUNT() == RECCOUNT()
   ? ORDCOUNT(), ORDDESTROY("SCOPED"), ORDCOUNT(), INDEXORD()
   // ZAP empties every tag.
   ZAP
   ? RECCOUNT(), ORDKEYCOUNT(), CDXCHECK() == ""
   APPEND BLANK
   REPLACE PRODUCT WITH "only"
   ? ORDKEYCOUNT(), CDXCHECK() == ""
   DBCLOSEAREA()
   USE PRODUCT
   ? ORDCOUNT(), RECCOUNT()
RETURN
