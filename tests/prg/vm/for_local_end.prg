// FOR loops whose end is a local: integers, doubles, texts, an end changed inside the loop, a
// negative step and a counter changed inside the loop.
PROCEDURE Main()
   LOCAL i, n := 5, d := 3.5, s := 0, c := "x", e
   FOR i := 1 TO n
      s += i
   NEXT
   ? "int", s, i
   s := 0
   FOR i := 1 TO d
      s += i
   NEXT
   ? "double", s, i
   s := 0
   FOR i := 1 TO n
      s += i
      n := 3
   NEXT
   ? "changed end", s, i, n
   s := 0
   n := 1
   FOR i := 10 TO n STEP -3
      s += i
   NEXT
   ? "down", s, i
   s := 0
   n := 20
   FOR i := 1 TO n
      s += i
      i += 4
   NEXT
   ? "counter", s, i
   n := 2147483647
   FOR i := 2147483645 TO n
      s := i
      IF i > 2147483646
         EXIT
      ENDIF
   NEXT
   ? "limit", s, i
   ErrorBlock( {| x | Break( x ) } )
   BEGIN SEQUENCE
      FOR i := 1 TO c
         s := i
      NEXT
   RECOVER USING e
      ? "text end", e:subCode, e:operation
   END SEQUENCE
RETURN
