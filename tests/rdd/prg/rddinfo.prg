// Driver-level settings through RDDINFO: table extension, lock scheme, passwords, defaults.
PROCEDURE Main()
   ? RDDINFO(1), RDDINFO(5), RDDINFO(13), RDDINFO(16), RDDINFO(44), RDDINFO(22), RDDINFO(12)
   ? RDDINFO(5, ".tab"), RDDINFO(5), RDDINFO(5, "x"), RDDINFO(5)
   ? RDDINFO(16, 4), RDDINFO(16), RDDINFO(16, 9), RDDINFO(16)
   ? RDDINFO(42, "secret"), RDDINFO(42), RDDINFO(41, "once"), RDDINFO(41), RDDINFO(41)
   ? RDDINFO(32), RDDINFO(6), RDDINFO(1, NIL, "DBF"), VALTYPE(RDDINFO(1, NIL, "NOSUCH"))
   DBCREATE("tabfile", {{"A", "C", 2, 0}})
   ? FILE("tabfile.tab"), FILE("tabfile.dbf"), DBEXISTS("tabfile")
   USE tabfile
   ? ALIAS(), DBINFO(10) != NIL
RETURN
