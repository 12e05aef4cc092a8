// Navigation, the phantom record, field values of every simple type, and the edge cases of
// writing fields.
PROCEDURE Main()
   LOCAL n
   ERRORBLOCK({|e| BREAK(e)})
   SET DATE FORMAT TO "yyyy-mm-dd"
   DBCREATE("t", {{"NAME", "C", 5, 0}, {"PRICE", "N", 8, 2}, {"SMALL", "N", 5, 0}, ;
                  {"DAY", "D", 8, 0}, {"OK", "L", 1, 0}, {"I2", "I", 2, 0}, {"DBL", "B", 8, 3}})
   USE t
   FOR n := 1 TO 3
      APPEND BLANK
      FIELDPUT(1, "row" + STR(n, 1))
   NEXT
   DBGOTO(1)
   FIELDPUT(1, "abcdefg")
   FIELDPUT(2, 12345.678)
   FIELDPUT(4, STOD("20240229"))
   FIELDPUT(5, .T.)
   FIELDPUT(6, -32768)
   FIELDPUT(7, 1.5)
   ? "[" + NAME + "]", PRICE, DAY, OK, I2, DBL
   FIELDPUT(1, "ab")
   ? "[" + NAME + "]", VALTYPE(NAME), VALTYPE(PRICE), VALTYPE(DAY), VALTYPE(OK)
   TryPrint({|| FIELDPUT(3, 1234567)})
   TryPrint({|| FIELDPUT(6, 40000)})
   TryPrint({|| FIELDPUT(5, 1)})
   TryPrint({|| FIELDPUT(2, "x")})
   DBCOMMIT()
   ? FIELDGET(0), FIELDPUT(0, 1), FIELDPUT(1, NIL)
   DBGOTO(0)
   ? RECNO(), BOF(), EOF()
   DBGOTO(4)
   ? RECNO(), BOF(), EOF(), "[" + NAME + "]", PRICE, DAY, OK, I2
   FIELDPUT(1, "zz")
   ? "[" + FIELDGET(1) + "]", RECCOUNT()
   DBGOTO(-5)
   ? RECNO(), BOF(), EOF()
   DBGOTO(1)
   DBSKIP(-1)
   ? RECNO(), BOF(), EOF()
   DBGOBOTTOM()
   ? RECNO(), NAME
   DBSKIP()
   ? RECNO(), EOF()
   DBSKIP(-1)
   ? RECNO(), EOF()
   DBGOTO(2)
   DBDELETE()
   ? DELETED()
   SET DELETED ON
   DBGOTOP()
   n := 0
   DO WHILE !EOF()
      n++
      DBSKIP()
   ENDDO
   ? "visible", n
   SET DELETED OFF
   DBGOTO(2)
   DBRECALL()
   ? DELETED()
   DBGOTO(3)
   DBDELETE()
   PACK
   ? RECCOUNT(), RECNO()
   ZAP
   ? RECCOUNT(), EOF(), BOF()
   TryPrint({|| DBGOTO()})
   TryPrint({|| DBGOTO("x")})
   DBCLOSEALL()
   USE t READONLY
   TryPrint({|| DBAPPEND()})
   TryPrint({|| __DBPACK()})
RETURN

FUNCTION TryPrint(bCode)
   LOCAL oErr
   BEGIN SEQUENCE
      ? "value", EVAL(bCode)
   RECOVER USING oErr
      ? "error", oErr:genCode, oErr:subCode, oErr:description, oErr:operation
   END SEQUENCE
RETURN NIL
