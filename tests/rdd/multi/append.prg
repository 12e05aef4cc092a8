// One of four processes: appends 5,000 records in shared use, writing the fields of each new
// record under the record lock DBAPPEND leaves on it.
PROCEDURE Main(cWriter)
   LOCAL nWriter := VAL(cWriter), n
   USE shared SHARED NEW
   FOR n := 1 TO 5000
      IF !DBAPPEND()
         ? "append failed", n
         ERRORLEVEL(2)
         RETURN
      ENDIF
      FIELDPUT(1, nWriter)
      FIELDPUT(2, n)
      FIELDPUT(3, REPLICATE(STR(n % 10, 1), 30))
      FIELDPUT(4, nWriter * 100000 + n)
   NEXT
   DBCLOSEAREA()
RETURN
