// Tables and indexes made by other programs: the production index opens with the table,
// every tag walks forward and back over all its keys in key order, counts them, seeks its
// first and last keys, and CDXCHECK compares each record's key with its key expression's
// value; after an append and a change every tag still holds each record's key. Field names
// longer than 10 characters (kept outside the table by the other program) name the field by
// their first 10 characters, in key texts and in programs.
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
      ? "   check", Check()
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
   ? FIELDPOS("SHIPPEDDATE") == FIELDPOS("SHIPPEDDAT"), SHIPPEDDATE == SHIPPEDDAT, ;
     orders->SHIPPEDDATE == SHIPPEDDAT
   FOR EACH cFile IN aFiles
      USE (cFile) EXCLUSIVE
      ? SUBSTR(cFile, RAT("/", cFile) + 1), "seeks", Seeks(), "after changes", Changes()
      DBCLOSEAREA()
   NEXT
   // A key expression with a long field name inside it, compiled again when the file opens.
   USE ("foreign/tombrothers_VfpEntityFrameworkProvider2/orders") EXCLUSIVE
   ORDCREATE("shipped", "SHIPPED", "DTOS(SHIPPEDDATE) + STR(ORDERID)")
   DBCLOSEAREA()
   USE ("foreign/tombrothers_VfpEntityFrameworkProvider2/orders") EXCLUSIVE
   ORDLISTADD("shipped")
   SET ORDER TO TAG SHIPPED
   DBGOBOTTOM()
   ? ORDKEY(), ORDKEYCOUNT() == RECCOUNT(), DTOS(SHIPPEDDAT) == LEFT(&(ORDKEY()), 8)
   REPLACE SHIPPEDDATE WITH STOD("19990101"), CUSTOMERID WITH "ABCDE"  // a date and a varchar
   DBCOMMIT()
   ? Check(), DTOS(SHIPPEDDAT), CUSTOMERID
RETURN

// For every tag: the values of its first non-empty and its last key found again by seeking
// them (null keys sort first and no value finds them).
FUNCTION Seeks()
   LOCAL n, nOk := 0, xFirst, xLast
   FOR n := 1 TO ORDCOUNT()
      DBSETORDER(n)
      DBGOTOP()
      DO WHILE EMPTY(&(ORDKEY())) .AND. !EOF()
         DBSKIP()
      ENDDO
      xFirst := &(ORDKEY())
      DBGOBOTTOM()
      xLast := &(ORDKEY())
      IF DBSEEK(xFirst) .AND. &(ORDKEY()) == xFirst .AND. ;
         DBSEEK(xLast, , .T.) .AND. &(ORDKEY()) == xLast .AND. (DBSKIP(), EOF())
         nOk++
      ENDIF
   NEXT
RETURN LTRIM(STR(nOk)) + "/" + LTRIM(STR(ORDCOUNT()))

// Appends a record, changes the first record's fields to the values of the last one, and
// tells whether the index is still whole.
FUNCTION Changes()
   LOCAL aLast := {}, n
   DBSETORDER(0)
   DBGOBOTTOM()
   FOR n := 1 TO FCOUNT()
      AADD(aLast, FIELDGET(n))
   NEXT
   DBAPPEND()
   DBGOTO(1)
   FOR n := 1 TO FCOUNT()
      IF VALTYPE(aLast[n]) $ "CNDL"
         FIELDPUT(n, aLast[n])
      ENDIF
   NEXT
   DBCOMMIT()
RETURN Check()

// "ok", "ok but space lost" when the only fault is pages the other program left unused, or
// the fault.
FUNCTION Check()
   LOCAL cFault := CDXCHECK()
   IF EMPTY(cFault)
      RETURN "ok"
   ENDIF
RETURN IIF("(space lost)" $ cFault, "ok but space lost", cFault)

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
