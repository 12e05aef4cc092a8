// The application's three tags on a copy of PRODUCT.DBF: creation, walking each order in key
// order, seeks, skips at the ends, logical positions, and the order information functions.
PROCEDURE Main()
   LOCAL n
   ERRORBLOCK({|e| BREAK(e)})
   USE PRODUCT
   ? RDDNAME(), RECCOUNT(), ORDCOUNT(), INDEXORD()
   ? ORDCREATE(, "EXCEL1", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
   ? ORDCREATE(, "EXCEL2", "LOWER(CUSTOMER) + INVOICE ", {|| LOWER(CUSTOMER) + INVOICE }, .F.)
   ? ORDCREATE(, "EXCEL3", "LOWER(PRODUCT)", {|| LOWER(PRODUCT)}, .F.)
   ? ORDCOUNT(), INDEXORD(), ORDNAME(), ORDNAME(1), ORDNUMBER("excel2"), ORDBAGEXT()
   ? "[" + ORDKEY(2) + "]", "[" + INDEXKEY(3) + "]", "[" + ORDFOR(1) + "]", ORDBAGNAME(2)
   ? DBORDERINFO(5, , 1), DBORDERINFO(2, , "EXCEL3"), DBORDERINFO(9)
   FOR n := 1 TO 3
      DBSETORDER(n)
      ? ORDNAME(), Walk(&("{|| " + ORDKEY() + "}")), ORDKEYCOUNT(), CDXCHECK() == ""
   NEXT
   // Ends of an order.
   DBSETORDER(2)
   ? "[" + INDEXKEY(0) + "]", "[" + INDEXKEY() + "]"
   DBGOTOP()
   ? RECNO(), TRIM(CUSTOMER), INVOICE, ORDKEYNO(), BOF(), EOF()
   DBSKIP(-1)
   ? RECNO(), BOF(), EOF(), ORDKEYNO()
   DBGOBOTTOM()
   ? RECNO(), TRIM(CUSTOMER), ORDKEYNO()
   DBSKIP()
   ? RECNO(), EOF(), ORDKEYNO()
   DBSKIP(-1)
   ? RECNO(), EOF(), ORDKEYNO()
   DBSKIP(-5)
   ? RECNO(), ORDKEYNO()
   DBSKIP(3)
   ? RECNO(), ORDKEYNO()
   // Key positions.
   ? ORDKEYGOTO(ORDKEYCOUNT()), RECNO(), ORDKEYNO()
   ? ORDKEYGOTO(150), ORDKEYNO(), STR(ORDKEYRELPOS(), 5, 2)
   ? ORDKEYGOTO(0), EOF(), ORDKEYNO()
   ORDKEYRELPOS(0.5)
   ? ORDKEYNO()
   // Seeks.
   DBSETORDER(3)
   ? DBSEEK("program 1"), RECNO(), TRIM(PRODUCT), ORDKEYNO()
   ? DBSEEK("program 1", , .T.), RECNO(), TRIM(PRODUCT), ORDKEYNO()
   ? DBSEEK("progrzz"), EOF(), RECNO()
   ? DBSEEK("progrzz", .T.), EOF(), TRIM(PRODUCT)
   ? DBSEEK("a", .T.), TRIM(PRODUCT), ORDKEYNO()
   ? DBSEEK("zzz", .T.), EOF()
   SET ORDER TO TAG EXCEL1
   ? ORDNAME(), DBSEEK(STR(10001, 8)), RECNO(), ID_NR
   SEEK STR(10050, 8)
   ? FOUND(), ID_NR
   ? DBSEEK(10001), EOF()
   SET ORDER TO 0
   ? INDEXORD(), ORDNAME(), ORDKEYNO(), ORDKEYCOUNT()
   DBGOTOP()
   ? RECNO()
   TryPrint({|| DBSEEK("x")})
   TryPrint({|| DBSEEK()})
   ? ORDSETFOCUS(2), ORDSETFOCUS("nosuch"), INDEXORD()
RETURN

// Walks the order from top to bottom checking that keys never decrease and ties go by record
// number; returns the number of records seen.
FUNCTION Walk(bKey)
   LOCAL nCount := 0, nBack := 0, cPrev, nPrev := 0, cKey, lOk := .T.
   DBGOTOP()
   DO WHILE !EOF()
      cKey := EVAL(bKey)
      IF nCount > 0 .AND. (cKey < cPrev .OR. (cKey == cPrev .AND. RECNO() < nPrev))
         lOk := .F.
      ENDIF
      IF ORDKEYNO() != nCount + 1
         lOk := .F.
      ENDIF
      cPrev := cKey
      nPrev := RECNO()
      nCount++
      DBSKIP()
   ENDDO
   // and back from the bottom
   DBGOBOTTOM()
   DO WHILE !BOF()
      nBack++
      DBSKIP(-1)
   ENDDO
RETURN IIF(lOk .AND. nCount == nBack, "ordered", "NOT ORDERED " + STR(nCount) + STR(nBack))

FUNCTION TryPrint(bCode)
   LOCAL oErr
   BEGIN SEQUENCE
      ? "value", EVAL(bCode)
   RECOVER USING oErr
      ? "error", oErr:genCode, oErr:subCode, oErr:operation, oErr:subSystem
   END SEQUENCE
RETURN NIL
