// Control flow.
PROCEDURE Main( n )
   LOCAL i, j := 0
   IF n > 10
      ? "big"
   ELSEIF n > 5
      ? "middle"
   ELSE
      ? "small"
   ENDIF
   DO WHILE j < n
      j++
      IF j == 3
         LOOP
      ENDIF
      IF j == 7
         EXIT
      ENDIF
   ENDDO
   FOR i := n TO 1 STEP -1
      ?? i
   NEXT i
   FOR i := 1 TO n
      j += i
   NEXT
   DO CASE
   CASE n == 1
      ? "one"
   CASE n == 2
   OTHERWISE
      ? "many"
   ENDCASE
   SWITCH n
   CASE 1
      ? 1
   CASE 2
      ? 2
      EXIT
   CASE "x"
      ? 3
   OTHERWISE
      ? 4
   END
   DO Other WITH n, 1
   QUIT
