// One of four writers: appends 2,500 records in shared use and, every fifth record, changes
// the customer and product keys of a random record it locks.
PROCEDURE Main(cWriter)
   LOCAL nWriter := VAL(cWriter), n, nRec, nFailed := 0
   USE shared SHARED NEW
   FOR n := 1 TO 2500
      IF !DBAPPEND()
         ? "append failed", n
         ERRORLEVEL(2)
         RETURN
      ENDIF
      FIELDPUT(1, nWriter * 100000 + n)
      FIELDPUT(2, "Customer " + STR(Rand(200), 3))
      FIELDPUT(3, "Product " + STR(Rand(50), 2))
      FIELDPUT(4, "W" + STR(nWriter, 1) + STR(n, 6))
      IF n % 5 == 0
         nRec := Rand(RECCOUNT())
         IF DBRLOCK(nRec)
            DBGOTO(nRec)
            FIELDPUT(2, "Changed " + STR(Rand(200), 3))
            FIELDPUT(3, "Changed " + STR(Rand(50), 2))
            DBCOMMIT()
            DBUNLOCK()
         ELSE
            nFailed++
         ENDIF
      ENDIF
   NEXT
   DBCLOSEAREA()
RETURN

// A small generator (Park-Miller) so that each process makes its own sequence.
FUNCTION Rand(nMax)
   STATIC nSeed := 0
   IF nSeed == 0
      nSeed := INT(SECONDS() * 1000) % 2147483646 + 1
   ENDIF
   nSeed := (nSeed * 16807) % 2147483647
RETURN INT(nSeed % nMax) + 1
