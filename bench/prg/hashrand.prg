// Random integer keys: 200,000 inserts, a lookup of each, then half of them deleted and
// the rest summed by iteration.
PROCEDURE Main()
   LOCAL h := { => }, i, k := 4321, n := 0, v
   FOR i := 1 TO 200000
      k := ( k * 1103515245 + 12345 ) % 2147483648
      h[ k ] := i
   NEXT
   k := 4321
   FOR i := 1 TO 200000
      k := ( k * 1103515245 + 12345 ) % 2147483648
      n += h[ k ]
   NEXT
   k := 4321
   FOR i := 1 TO 100000
      k := ( k * 1103515245 + 12345 ) % 2147483648
      PV_HDel( h, k )
      k := ( k * 1103515245 + 12345 ) % 2147483648
   NEXT
   FOR EACH v IN h
      n += v
   NEXT
   ? Len( h ), n
RETURN
