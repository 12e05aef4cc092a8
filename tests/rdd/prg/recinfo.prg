// DBRECORDINFO 7-9 (raw record, memo contents, both) and DBINFO 140/141 (encrypting and
// decrypting a whole table).
PROCEDURE Main()
   LOCAL n, c
   ERRORBLOCK({|e| BREAK(e)})
   DBCREATE("rm", {{"K", "C", 3, 0}, {"A", "M", 10, 0}, {"B", "M", 10, 0}}, "DBFFPT")
   USE rm NEW VIA "DBFFPT"
   DBAPPEND()
   REPLACE K WITH "one", A WITH "first memo", B WITH "second"
   DBAPPEND()
   REPLACE K WITH "two", B WITH "only b"
   DBGOTO(1)
   ? "[" + DBRECORDINFO(8) + "]", "[" + DBRECORDINFO(8, 2) + "]", RECNO()
   c := DBRECORDINFO(9, 2)
   ? LEN(c), "[" + LEFT(c, 4) + "]", "[" + SUBSTR(c, 25) + "]", RECNO()
   ? DBRECORDINFO(9) == DBRECORDINFO(7) + DBRECORDINFO(8), LEN(DBRECORDINFO(7, 2)), RECNO()
   ? "no memo file:", DBINFO(140, "pw"), DBINFO(132)
   DBCLOSEAREA()

   DBCREATE("plain", {{"NAME", "C", 8, 0}, {"N", "N", 3, 0}}, "DBF")
   USE plain NEW VIA "DBF"
   FOR n := 1 TO 3
      DBAPPEND()
      REPLACE NAME WITH "name" + STR(n, 1), N WITH n * 10
   NEXT
   DBGOTO(2)
   DBDELETE()
   ? "[" + DBRECORDINFO(8) + "]", DBRECORDINFO(9) == DBRECORDINFO(7)
   ? "decrypt plain:", DBINFO(141), DBINFO(132)
   ? "encrypt without password:", DBINFO(140), DBINFO(140, ""), DBINFO(132)
   ? "encrypt:", DBINFO(140, "sesame"), DBINFO(132), DBRECORDINFO(6), NAME, RECNO(), DELETED()
   ? "again:", DBINFO(140, "sesame")
   DBCLOSEAREA()
   c := MEMOREAD("plain.dbf")
   ? "file:", ASC(c), "name" $ c, SUBSTR(c, 99, 1), SUBSTR(c, 111, 1), SUBSTR(c, 123, 1)
   USE plain NEW VIA "DBF"
   ? "without password:", NAME == "name1", DBINFO(132)
   ? "decrypt with a password:", DBINFO(141, "sesame"), DBINFO(132), NAME, FIELD->N
   DBCLOSEAREA()
   c := MEMOREAD("plain.dbf")
   ? "file:", ASC(c), "name1" $ c, SUBSTR(c, 99, 1), SUBSTR(c, 111, 1), SUBSTR(c, 123, 1)
   RDDINFO(42, "key", "DBF")
   USE plain NEW VIA "DBF"
   ? "encrypt under the driver password:", DBINFO(140, "other"), NAME
   DBCLOSEAREA()
   USE plain NEW VIA "DBF"
   ? "wrong key:", NAME == "name1"
   DBCLOSEAREA()
   RDDINFO(42, "other", "DBF")
   USE plain NEW VIA "DBF"
   ? "decrypt under the table key:", NAME, DBINFO(141), DBINFO(132)
   DBCLOSEAREA()
   RDDINFO(42, "", "DBF")
   USE plain NEW VIA "DBF" SHARED
   ? "shared:", DBINFO(140, "x"), DBINFO(132)
   DBCLOSEAREA()
   USE plain NEW VIA "DBF" READONLY
   ? "read-only:", DBINFO(140, "x"), DBINFO(132)
   DBGOTO(3)
   ? NAME, FIELD->N, DBRECORDINFO(1, 2), RECNO()
RETURN
