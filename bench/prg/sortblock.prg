// Sorting 200,000 two-element arrays by their first element with a comparison block.
PROCEDURE Main()
   LOCAL a := {}, i, x := 12345
   FOR i := 1 TO 200000
      x := ( x * 1103515245 + 12345 ) % 2147483648
      AAdd( a, { x, i } )
   NEXT
   ASort( a,,, {| p, q | p[ 1 ] < q[ 1 ] } )
   ? a[ 1 ][ 1 ] <= a[ 2 ][ 1 ], Len( a )
RETURN
