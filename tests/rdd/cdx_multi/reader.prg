// One of two readers: seeks and skips in the ID order while the writers work; ID_NR never
// changes, so every walk must see it in ascending order. Prints the number of faults.
PROCEDURE Main()
   LOCAL nFaults := 0, nPrev, n, i
   USE shared SHARED NEW
   FOR i := 1 TO 300
      DBSETORDER(1)
      DBSEEK(STR(Rand(4) * 100000 + Rand(2500), 8), .T.)
      nPrev := 0
      FOR n := 1 TO 20
         IF EOF()
            EXIT
         ENDIF
         IF ID_NR < nPrev
            nFaults++
         ENDIF
         nPrev := ID_NR
         DBSKIP()
      NEXT
      DBSETORDER(3)
      DBSEEK("product " + STR(Rand(50), 2))
      DBSKIP(5)
   NEXT
   ? "reader faults", nFaults
RETURN

// A small generator (Park-Miller) so that each process makes its own sequence.
FUNCTION Rand(nMax)
   STATIC nSeed := 0
   IF nSeed == 0
      nSeed := INT(SECONDS() * 1000) % 2147483646 + 1
   ENDIF
   nSeed := (nSeed * 16807) % 2147483647
RETURN INT(nSeed % nMax) + 1
