// Logical key numbers and counts: with a filter or SET DELETED ON they count only the records
// a walk of the order shows; the raw codes 51 and 52 count every key.
PROCEDURE Main()
   USE PRODUCT
   INDEX ON LOWER(PRODUCT) TAG P
   ? ORDKEYCOUNT(), DBORDERINFO(52)
   DBSETFILTER({|| "Program" $ PRODUCT})
   ? ORDKEYCOUNT(), DBORDERINFO(52)
   DBGOTOP()
   ? ORDKEYNO(), TRIM(PRODUCT)
   DBSKIP(3)
   ? ORDKEYNO(), DBORDERINFO(51), RECNO()
   DBGOBOTTOM()
   ? ORDKEYNO(), RECNO()
   DBCLEARFILTER()
   DBGOTO(5)
   DBDELETE()
   SET DELETED ON
   ? ORDKEYCOUNT(), ORDKEYNO()
   DBGOTO(6)
   ? ORDKEYNO(), RECNO()
   GotoShown()
RETURN

// Going to a key number counts the shown records too.
PROCEDURE GotoShown()
   ? ORDKEYGOTO(256), RECNO(), ORDKEYNO()
   ? ORDKEYGOTO(299), ORDKEYNO() == ORDKEYCOUNT()
   ? ORDKEYGOTO(300), EOF()
RETURN
