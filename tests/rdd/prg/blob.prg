// DBFBLOB: a memo file alone (".dbv", FPT version 3, block size at offset 540), its driver
// information, and values stored, read and freed through DBINFO 201-203.
PROCEDURE Main()
   LOCAL c, nText, nNum, nDate, nTrue, nBig, nAgain, e
   ERRORBLOCK({|e| BREAK(e)})
   ? "driver", ASCAN(RDDLIST(), "DBFBLOB") > 0, RDDINFO(37, , "DBFBLOB"), RDDINFO(37, , "DBFFPT")
   ? "rddinfo", RDDINFO(6, , "DBFBLOB"), RDDINFO(14, , "DBFBLOB"), RDDINFO(33, , "DBFBLOB"), ;
     RDDINFO(32, , "DBFBLOB"), RDDINFO(34, , "DBFBLOB"), RDDINFO(35, , "DBFBLOB"), RDDINFO(36, , "DBFBLOB")
   ? "not settable", RDDINFO(14, 1, "DBFBLOB"), RDDINFO(14, , "DBFBLOB"), RDDINFO(33, 1, "DBFBLOB"), ;
     RDDINFO(33, , "DBFBLOB")
   ? "block size", RDDINFO(32, 128, "DBFBLOB"), RDDINFO(32, , "DBFBLOB"), RDDINFO(32, 0, "DBFBLOB"), ;
     RDDINFO(32, , "DBFBLOB")
   RDDINFO(32, 64, "DBFBLOB")
   DBCREATE("store", {}, "DBFBLOB")
   ? "files", FILE("store.dbv"), FILE("store.dbf"), FILE("store.fpt")
   c := MEMOREAD("store.dbv")
   ? "header", LEN(c), BE32(c, 1), BE32(c, 5), SUBSTR(c, 505, 9), ASC(SUBSTR(c, 514, 1)), BE16(c, 541)
   USE store NEW VIA "DBFBLOB"
   ? "area", ALIAS(), RDDNAME(), EOF(), BOF(), RECCOUNT(), RECNO(), FCOUNT()
   ? "info", DBINFO(37), DBINFO(39), DBINFO(133), DBINFO(135), "store.dbv" $ DBINFO(10)
   nText := DBINFO(201, "Grüße aus dem Speicher " + REPLICATE("x", 200))
   nNum := DBINFO(201, 1234.5)
   nDate := DBINFO(201, STOD("20240229"))
   nTrue := DBINFO(201, .T.)
   ? "blocks", nText, nNum, nDate, nTrue, DBINFO(201, "")
   ? "values", LEN(DBINFO(202, nText)), LEFT(DBINFO(202, nText), 10), DBINFO(202, nNum), ;
     DTOS(DBINFO(202, nDate)), DBINFO(202, nTrue), "[" + DBINFO(202, 0) + "]"
   ? "free", DBINFO(203, nText), DBINFO(203, nText), DBINFO(203, 0), VALTYPE(DBINFO(202, nText))
   nAgain := DBINFO(201, "reuses the freed blocks")
   ? "reuse", nAgain == nText, DBINFO(202, nAgain)
   BEGIN SEQUENCE
      DBGOTOP()
   RECOVER USING e
      ? "no records:", e:genCode, e:subSystem
   END SEQUENCE
   BEGIN SEQUENCE
      DBINFO(202, "x")
   RECOVER USING e
      ? "bad block:", e:subCode
   END SEQUENCE
   BEGIN SEQUENCE
      DBINFO(201, {1})
   RECOVER USING e
      ? "bad value:", e:subCode
   END SEQUENCE
   DBCLOSEAREA()
   USE store NEW VIA "DBFBLOB" READONLY
   ? "reopened", DBINFO(202, nNum), DBINFO(202, nAgain), DBINFO(39)
   DBCLOSEAREA()
   RDDINFO(32, 128, "DBFBLOB")
   DBCREATE("big", {}, "DBFBLOB")
   USE big NEW VIA "DBFBLOB"
   nBig := DBINFO(201, "in 128-byte blocks")
   ? "block size 128", DBINFO(39), nBig
   DBCLOSEAREA()
   c := MEMOREAD("big.dbv")
   ? "header", LEN(c), BE32(c, 1), BE32(c, 5), BE16(c, 541)
   RDDINFO(32, 64, "DBFBLOB")
   USE big NEW VIA "DBFBLOB"
   ? "reopened", DBINFO(39), DBINFO(202, nBig)
   DBCLOSEAREA()
   ? "exists", DBEXISTS("big", "DBFBLOB"), DBEXISTS("big", "DBF"), DBDROP("big", "DBFBLOB"), ;
     FILE("big.dbv"), DBEXISTS("big", "DBFBLOB")
   BEGIN SEQUENCE
      USE nosuch NEW VIA "DBFBLOB"
   RECOVER USING e
      ? "missing:", e:genCode, e:subCode, USED()
   END SEQUENCE
   // the memo settings of DBFFPT reach the memo files it creates
   ? "fpt", RDDINFO(37, , "DBFFPT"), RDDINFO(14, , "DBFFPT"), RDDINFO(33, 2, "DBFFPT"), ;
     RDDINFO(32, 32, "DBFFPT"), RDDINFO(6, ".mem", "DBFFPT"), RDDINFO(6, "bad", "DBFFPT")
   DBCREATE("withmemo", {{"M", "M", 10, 0}}, "DBFFPT")
   c := MEMOREAD("withmemo.mem")
   ? "memo file", FILE("withmemo.fpt"), LEN(c), SUBSTR(c, 9, 7), BE32(c, 1), BE32(c, 5)
   USE withmemo NEW VIA "DBFFPT"
   ? DBINFO(37), DBINFO(39), DBINFO(135)
   DBCLOSEAREA()
   RDDINFO(33, 3, "DBFFPT")
   RDDINFO(32, 64, "DBFFPT")
   RDDINFO(6, ".fpt", "DBFFPT")
RETURN

FUNCTION BE32(c, n)
RETURN ((ASC(SUBSTR(c, n, 1)) * 256 + ASC(SUBSTR(c, n + 1, 1))) * 256 + ASC(SUBSTR(c, n + 2, 1))) * 256 + ASC(SUBSTR(c, n + 3, 1))

FUNCTION BE16(c, n)
RETURN ASC(SUBSTR(c, n, 1)) * 256 + ASC(SUBSTR(c, n + 1, 1))
