// Text keys in scrambled order: 200,000 inserts into a hash, then a lookup of each.
PROCEDURE Main()
   LOCAL h := { => }, i, k := 12345, n := 0
   FOR i := 1 TO 200000
      k := ( k * 1103515245 + 12345 ) % 2147483648
      h[ "k" + LTrim( Str( k ) ) ] := i
   NEXT
   k := 12345
   FOR i := 1 TO 200000
      k := ( k * 1103515245 + 12345 ) % 2147483648
      n += h[ "k" + LTrim( Str( k ) ) ]
   NEXT
   ? Len( h ), n
RETURN
