// Tables and indexes made by other programs: the production index opens with the table,
// every tag walks forward and back over all its keys in key order, counts them, and
// CDXCHECK compares each record's key with its key expression's value.
PROCEDURE Main()
   LOCAL aFiles := {"foreign/tombrothers_VfpEntityFrameworkProvider2/employees", ;
                    "foreign/tombrothers_VfpEntityFrameworkProvider2/orders", ;
                    "foreign/tombrothers_VfpEntityFrameworkProvider2/orderdetails", ;
                    "foreign/Valentin-Kaiser_go-dbase/employees", ;
                    "foreign/infused_dbf/calls", "foreign/infused_dbf/setup"}
   LOCAL cFile, n
   ERRORBLOCK({|e| BREAK(e)})
   FOR EACH cFile IN aFiles
      USE (cFile) READONLY
      ? SUBSTR(cFile, RAT("/", cFile) + 1), RECCOUNT(), ORDCOUNT()
      FOR n := 1 TO ORDCOUNT()
         DBSETORDER(n)
         ? "  ", ORDNAME(), ORDKEY(), ORDKEYCOUNT(), Walk()
      NEXT
      ? "   check", CDXCHECK() == ""
      DBCLOSEAREA()
   NEXT
   USE ("foreign/tombrothers_VfpEntityFrameworkProvider2/employees") READONLY
   SET ORDER TO TAG LASTNAME
   ? DBSEEK("D"), TRIM(LASTNAME), ORDKEYNO()
   ? DBSEEK("KING"), TRIM(LASTNAME), ORDKEYNO()
   SET ORDER TO TAG EMPLOYEEID
   ? DBSEEK(5), EMPLOYEEID, TRIM(LASTNAME)
   DBGOBOTTOM()
   ? EMPLOYEEID
   USE ("foreign/tombrothers_VfpEntityFrameworkProvider2/orders") READONLY
   SET ORDER TO TAG SHIPPEDDAT
   DBGOTOP()
   ? EMPTY(SHIPPEDDAT), ORDKEYNO()
   DBSKIP(ORDKEYCOUNT() - 1)
   ? SHIPPEDDAT >= STOD("19980101"), ORDKEYNO() == ORDKEYCOUNT()
RETURN

// Walks the order down and up; "ordered" when key numbers run 1..n and both ways see n keys.
FUNCTION Walk()
   LOCAL nDown := 0, nUp := 0, lOk := .T.
   DBGOTOP()
   DO WHILE !EOF()
      nDown++
      lOk := lOk .AND. ORDKEYNO() == nDown
      DBSKIP()
   ENDDO
   DBGOBOTTOM()
   DO WHILE !BOF()
      nUp++
      DBSKIP(-1)
   ENDDO
RETURN IIF(lOk .AND. nUp == nDown, "walks", "DIFFERS") + STR(nDown, 6)
