// Counts complete records: every writer's sequence 1…5000 exactly once, every record whole.
PROCEDURE Main()
   LOCAL aSeen := {ARRAY(5000), ARRAY(5000), ARRAY(5000), ARRAY(5000)}, nBad := 0, n, i
   FOR n := 1 TO 4
      FOR i := 1 TO 5000
         aSeen[n][i] := 0
      NEXT
   NEXT
   USE shared SHARED NEW
   DO WHILE !EOF()
      IF WRITER < 1 .OR. WRITER > 4 .OR. SEQ < 1 .OR. SEQ > 5000 .OR. ;
         FILL != REPLICATE(STR(SEQ % 10, 1), 30) .OR. CHECK != WRITER * 100000 + SEQ
         nBad++
      ELSE
         aSeen[WRITER][SEQ]++
      ENDIF
      DBSKIP()
   ENDDO
   ? "records", RECCOUNT(), "bad", nBad
   FOR n := 1 TO 4
      ? "writer", n, "missing", ASCAN(aSeen[n], 0) > 0, "twice", ASCAN(aSeen[n], {|x| x > 1}) > 0
   NEXT
RETURN
