PROCEDURE Main()
   LOCAL a := Array( 1000000 ), i, x := 12345
   FOR i := 1 TO 1000000
      x := ( x * 1103515245 + 12345 ) % 2147483648
      a[ i ] := x
   NEXT
   ASort( a )
   ? a[ 1 ] <= a[ 2 ], Len( a )
RETURN
