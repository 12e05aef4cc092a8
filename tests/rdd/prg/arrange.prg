// __DBARRANGE: the records of a scope written in key order into another open area.
PROCEDURE Main()
   LOCAL aStruct := {{"NAME", "C", 8, 0}, {"QTY", "N", 5, 1}, {"DAY", "D", 8, 0}, {"OK", "L", 1, 0}}
   LOCAL aRows := {{"delta", 4, "20240304", .T.}, {"Alpha", 2.5, "20240101", .F.}, ;
                   {"charlie", 4, "20240201", .F.}, {"bravo", 1, "20231231", .T.}, ;
                   {"alpha", 9, "20240505", .T.}, {"Echo", 0.5, "20240101", .F.}}
   LOCAL n, cRaw := ""
   ERRORBLOCK({|e| BREAK(e)})
   DBCREATE("src", aStruct, "DBF")
   USE src NEW VIA "DBF"
   FOR n := 1 TO LEN(aRows)
      DBAPPEND()
      FIELDPUT(1, aRows[n][1])
      FIELDPUT(2, aRows[n][2])
      FIELDPUT(3, STOD(aRows[n][3]))
      FIELDPUT(4, aRows[n][4])
   NEXT
   DBGOTO(3)
   DBDELETE()
   DBCREATE("dst", aStruct, "DBF")
   USE dst NEW VIA "DBF"
   SELECT src
   DBGOTO(2)
   ? "name ascending", __DBARRANGE(SELECT("dst"), aStruct, , , , , , {"NAME"}), RECNO()
   SHOW()
   // whole records: the target's records are the source's images, deleted flag included
   SELECT dst
   DBGOTO(5)
   n := DBRECORDINFO(7)
   SELECT src
   DBGOTO(3)
   ? "same bytes", n == DBRECORDINFO(7), LEFT(n, 1) == "*"
   AGAIN({"NAME/DC"}, , , , , , "name descending, no case")
   AGAIN({"QTY/D", "NAME/C"}, , , , , , "qty descending then name")
   AGAIN({"OK", "DAY/D"}, , , , , , "logical then date descending")
   AGAIN({"NAME/C"}, {|| QTY >= 2}, , , , , "for qty >= 2")
   DBGOTO(2)
   AGAIN({"QTY"}, , {|| YEAR(DAY) == 2024}, , , .T., "while 2024 from 2")
   DBGOTO(3)
   AGAIN({"NAME"}, , , 3, , , "next 3 from 3")
   AGAIN({"NAME"}, , , , 5, , "record 5")
   // a subset of the fields, into a table of another layout
   DBCREATE("sub", {{"QTY", "N", 6, 2}, {"NAME", "C", 4, 0}, {"X", "C", 2, 0}}, "DBF")
   USE sub NEW VIA "DBF"
   SELECT src
   ? "subset", __DBARRANGE(SELECT("sub"), {"name", {"QTY", "N", 5, 1}}, , , , , , {"DAY", "NAME"})
   SELECT sub
   DBEVAL({|| QOUT(RECNO(), QTY, "[" + NAME + "]", "[" + X + "]", DELETED())})
   AGAIN({"DAY/D", "NAME/D"}, , , , , , "date descending, name descending")
   DBCLOSEALL()
   // the target file: the header's count and the records in key order (MEMOREAD drops the
   // end-of-file byte)
   cRaw := MEMOREAD("dst.dbf")
   ? "file", LEN(cRaw), ASC(SUBSTR(cRaw, 5, 1)), ASC(SUBSTR(cRaw, 9, 1))
   FOR n := 163 TO LEN(cRaw) STEP 23
      ? "[" + SUBSTR(cRaw, n, 23) + "]"
   NEXT
   SELECT 1
   ? "errors"
   BEGIN SEQUENCE
      USE src NEW VIA "DBF"
      __DBARRANGE(SELECT("src"), , , , , , , {"NAME"})
   RECOVER USING n
      ? n:subCode, n:operation
   END SEQUENCE
   BEGIN SEQUENCE
      __DBARRANGE(99, , , , , , , {"NAME"})
   RECOVER USING n
      ? n:subCode, n:operation
   END SEQUENCE
   USE dst NEW VIA "DBF"
   SELECT src
   BEGIN SEQUENCE
      __DBARRANGE(SELECT("dst"), , , , , , , {"NOSUCH"})
   RECOVER USING n
      ? n:subCode, n:operation
   END SEQUENCE
   // memo fields are copied through the memo driver
   DBCLOSEALL()
   DBCREATE("msrc", {{"K", "N", 2, 0}, {"NOTE", "M", 10, 0}}, "DBFFPT")
   DBCREATE("mdst", {{"K", "N", 2, 0}, {"NOTE", "M", 10, 0}}, "DBFFPT")
   USE mdst NEW VIA "DBFFPT"
   USE msrc NEW VIA "DBFFPT"
   FOR n := 1 TO 3
      DBAPPEND()
      FIELDPUT(1, 10 - n)
      FIELDPUT(2, REPLICATE(CHR(64 + n), 70 * n))
   NEXT
   ? "memo", __DBARRANGE(SELECT("mdst"), , , , , , , {"K"})
   SELECT mdst
   DBEVAL({|| QOUT(RECNO(), K, LEN(NOTE), LEFT(NOTE, 3))})
RETURN

// Empties the target, arranges into it again and shows it.
PROCEDURE AGAIN(aKeys, bFor, bWhile, nNext, nRecord, lRest, cTitle)
   SELECT dst
   __DBZAP()
   SELECT src
   ? cTitle, __DBARRANGE(SELECT("dst"), NIL, bFor, bWhile, nNext, nRecord, lRest, aKeys), RECNO()
   SHOW()
RETURN

PROCEDURE SHOW()
   SELECT dst
   DBEVAL({|| QOUT(RECNO(), NAME, QTY, DTOS(DAY), OK, DELETED())})
   SELECT src
RETURN
