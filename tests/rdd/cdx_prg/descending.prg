// Walking a descending tag (ties in descending record order), seeks there (first, last, soft),
// skipping from a record whose key changed, and skipping from records a FOR tag leaves out.
PROCEDURE Main()
   LOCAL n, a := {}
   USE PRODUCT
   INDEX ON ID_NR TAG IDD DESCENDING
   DBGOTOP()
   ? ID_NR, ORDKEYNO(), RECNO()
   DBSKIP()
   ? ID_NR, ORDKEYNO(), RECNO()
   ? DBSEEK(10050), ID_NR, RECNO(), ORDKEYNO()
   ? DBSEEK(10050, , .T.), ID_NR, RECNO(), ORDKEYNO()
   ? DBSEEK(10050.5, .T.), ID_NR, RECNO(), ORDKEYNO()
   // change a key then skip from the new place
   DBSEEK(10050)
   REPLACE ID_NR WITH 10049.5
   DBSKIP()
   ? ID_NR, RECNO()
   DBSKIP(-1)
   ? ID_NR, RECNO()
   DBSKIP(-1)
   ? ID_NR, RECNO()
   ? CDXCHECK() == ""
   // skip from a record without key: FOR tag
   INDEX ON ID_NR TAG EVEN FOR ID_NR % 2 == 0
   DBGOTO(1)
   ? ID_NR, ORDKEYNO()
   DBSKIP()
   ? ID_NR, RECNO()
   DBGOTO(1)
   DBSKIP(-1)
   ? ID_NR, RECNO(), BOF()
   DBGOBOTTOM()
   ? ID_NR, ORDKEYCOUNT()
   ORDKEYGOTO(1)
   ? ID_NR, ORDKEYNO()
RETURN
