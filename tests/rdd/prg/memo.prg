// Memo fields through DBFFPT: text round trip with the memo flag, empty memos, typed values,
// block reuse, pack with memo compaction, and memo fields refused by the plain DBF driver.
PROCEDURE Main()
   LOCAL n, cLong := REPLICATE("x", 500)
   ERRORBLOCK({|e| BREAK(e)})
   ? RDDSETDEFAULT()
   DBCREATE("notes", {{"ID", "N", 3, 0}, {"NOTE", "M", 10, 0}})
   USE notes NEW
   ? RDDNAME(), DBINFO(133), DBINFO(39), DBINFO(135), FILE("notes.fpt")
   FOR n := 1 TO 4
      DBAPPEND()
      FIELDPUT(1, n)
      FIELDPUT(2, "note " + STR(n, 1) + IIF(n == 2, cLong, ""))
   NEXT
   DBGOTO(2)
   ? VALTYPE(NOTE), LEN(NOTE), LEFT(NOTE, 6)
   DBGOTO(3)
   FIELD->NOTE := ""
   ? "[" + NOTE + "]", VALTYPE(NOTE)
   FIELD->NOTE := 42.5
   ? VALTYPE(NOTE), NOTE
   FIELD->NOTE := STOD("20240301")
   ? VALTYPE(NOTE), DTOS(NOTE)
   FIELD->NOTE := .T.
   ? VALTYPE(NOTE), NOTE
   DBGOTO(2)
   DBDELETE()
   DBCOMMIT()
   ? "before pack", FILESIZE("notes.fpt")
   PACK
   ? "after pack", FILESIZE("notes.fpt"), RECCOUNT()
   DBGOTOP()
   DO WHILE !EOF()
      ? ID, VALTYPE(NOTE), NOTE
      DBSKIP()
   ENDDO
   ZAP
   ? RECCOUNT(), FILESIZE("notes.fpt")
   DBCLOSEALL()
   TryPrint({|| DBCREATE("plain", {{"NOTE", "M", 10, 0}}, "DBF")})
RETURN

FUNCTION FileSize(cFile)
   LOCAL aDir := DIRECTORY(cFile)
RETURN IIF(LEN(aDir) > 0, aDir[1][2], -1)

FUNCTION TryPrint(bCode)
   LOCAL oErr
   BEGIN SEQUENCE
      ? "value", EVAL(bCode)
   RECOVER USING oErr
      ? "error", oErr:genCode, oErr:subCode, oErr:subSystem
   END SEQUENCE
RETURN NIL
