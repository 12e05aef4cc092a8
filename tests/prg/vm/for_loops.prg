// FOR loops with literal bounds and steps: up, down, empty, ending on and past the bound, the
// counter changed inside, passed by reference, near the 32-bit limit, EXIT and LOOP.
PROCEDURE Main()
   LOCAL i, j, n := 0, t := ""
   FOR i := 1 TO 5
      t += Str( i, 1 )
   NEXT
   ? t, i
   t := ""
   FOR i := 10 TO 1 STEP -4
      t += Str( i, 3 )
   NEXT
   ? t, i
   FOR i := 5 TO 1
      n++
   NEXT
   ? n, i
   FOR i := 1 TO 300 STEP 100
      n += i
   NEXT
   ? n, i
   FOR i := 1 TO 100000
      IF i % 2 == 0
         i += 49998
      ENDIF
      n++
   NEXT
   ? n, i
   FOR i := 2147483640 TO 2147483646 STEP 3
      ?? "", i
   NEXT
   ? i, ValType( i ), Len( Str( i ) )
   FOR i := -2147483640 TO -2147483647 STEP -5
      ?? "", i
   NEXT
   ? i
   n := 0
   FOR i := 1 TO 10
      FOR j := 1 TO 3
         IF j == 2
            LOOP
         ENDIF
         n += j
      NEXT
      IF i == 4
         EXIT
      ENDIF
   NEXT
   ? n, i, j
   n := 0
   FOR i := 1 TO 6
      Bump( @i )
      n++
   NEXT
   ? n, i
   FOR i := 1 TO 3
      n := {|| i }
   NEXT
   ? Eval( n ), i
RETURN

STATIC PROCEDURE Bump( k )
   k++
RETURN
