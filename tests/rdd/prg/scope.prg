// Filters, DBEVAL scopes, LOCATE/CONTINUE, field and record information, DBEXISTS and DBDROP.
PROCEDURE Main()
   LOCAL n, nSum := 0, aSeen := {}
   ERRORBLOCK({|e| BREAK(e)})
   DBCREATE("sc", {{"N", "N", 3, 0}, {"C", "C", 4, 0}})
   USE sc NEW
   FOR n := 1 TO 10
      DBAPPEND()
      FIELDPUT(1, n)
      FIELDPUT(2, IIF(n % 3 == 0, "fizz", "x"))
   NEXT
   DBEVAL({|| nSum += FIELDGET(1)})
   ? "sum", nSum
   nSum := 0
   DBEVAL({|| nSum += FIELDGET(1)}, {|| FIELDGET(1) % 2 == 0})
   ? "even", nSum
   DBGOTO(4)
   DBEVAL({|| AADD(aSeen, FIELDGET(1))}, , , 3)
   ? "next 3", LEN(aSeen), aSeen[1], aSeen[3], RECNO()
   aSeen := {}
   DBGOTOP()
   DBEVAL({|| AADD(aSeen, FIELDGET(1))}, , {|| FIELDGET(1) < 4})
   ? "while", LEN(aSeen), RECNO()
   DBEVAL({|| AADD(aSeen, FIELDGET(1))}, , , , 7)
   ? "record", ATAIL(aSeen), RECNO()
   DBSETFILTER({|| FIELDGET(2) == "fizz"}, 'C == "fizz"')
   ? DBFILTER()
   DBGOTOP()
   aSeen := {}
   DO WHILE !EOF()
      AADD(aSeen, FIELDGET(1))
      DBSKIP()
   ENDDO
   ? "filtered", LEN(aSeen), aSeen[1], aSeen[2], aSeen[3]
   DBGOBOTTOM()
   ? "bottom", RECNO()
   DBCLEARFILTER()
   ? "[" + DBFILTER() + "]"
   __DBLOCATE({|| FIELDGET(1) > 4 .AND. FIELDGET(2) == "fizz"})
   ? "locate", FOUND(), RECNO()
   __DBCONTINUE()
   ? "continue", FOUND(), RECNO()
   __DBCONTINUE()
   ? "continue", FOUND(), RECNO(), EOF()
   ? DBFIELDINFO(1, 2), DBFIELDINFO(2, 2), DBFIELDINFO(3, 2), DBFIELDINFO(4, 1)
   DBGOTO(2)
   DBDELETE()
   DBGOTO(5)
   ? DBRECORDINFO(1, 2), DBRECORDINFO(1), DBRECORDINFO(3), DBRECORDINFO(4), RECNO(), DBRECORDINFO(2)
   ? VALTYPE(DBORDERINFO(1))
   DBCLOSEALL()
   ? DBEXISTS("sc"), DBEXISTS("nothere")
   ? DBDROP("sc"), DBEXISTS("sc"), FILE("sc.dbf")
RETURN
