// Counting: 100,000 random integers below 50,000, each looked up with PV_HHasKey and then
// counted in a hash.
PROCEDURE Main()
   LOCAL h := { => }, i, k := 4321, n := 0, v
   FOR i := 1 TO 100000
      k := ( k * 1103515245 + 12345 ) % 2147483648
      IF PV_HHasKey( h, k % 50000 )
         h[ k % 50000 ] += 1
      ELSE
         h[ k % 50000 ] := 1
      ENDIF
   NEXT
   FOR EACH v IN h
      n += v
   NEXT
   ? Len( h ), n
RETURN
