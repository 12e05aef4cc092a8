// Building one million two-element arrays, then reading them back.
PROCEDURE Main()
   LOCAL a := {}, i, n := 0
   FOR i := 1 TO 1000000
      AAdd( a, { i, i } )
   NEXT
   FOR i := 1 TO Len( a )
      n += a[ i ][ 2 ]
   NEXT
   ? n
RETURN
