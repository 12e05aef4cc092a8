// Default widths of floating-point results at the edges of the narrow width, as STR, TRANSFORM
// and the console show them, also after the value was copied into arrays, hashes, parameters
// and locals, and with the width of a literal kept.
PROCEDURE Main()
   LOCAL edges := { 9999999999.0, 10000000000.0, -999999998.5, -999999999.0, -999999999.5, 0.5 }
   LOCAL d, r, h := { => }, a := {}
   FOR EACH d IN edges
      r := d * 1
      AAdd( a, r )
      h[ d ] := r - 0
      ? Pic( r ), Pic( d + 0.25 ), Pic( d - 0.25 ), Pic( d / 1 ), Pic( Twice( r ) )
   NEXT
   FOR EACH d IN a
      ? Pic( d ), Pic( h[ d ] ), Transform( d, "" ), Len( Transform( d, "" ) )
   NEXT
   d := 12.50
   ? Pic( d ), Pic( d * 1 ), Pic( d + 1 ), Pic( 1.0 / 3 ), Pic( 2 ** 40 + 0.5 ), Pic( Sqrt( 2 ) )
   r := 0.0
   FOR d := 1 TO 5
      r += 1999999999.9
   NEXT
   ? Pic( r ), r, Str( r, 25, 3 )
   ? 1.5 * 2, 9999999999.5 * 1, -999999999.5 + 0, 1000000000000 / 3
RETURN

STATIC FUNCTION Twice( n )
RETURN n + n

STATIC FUNCTION Pic( n )
RETURN "[" + Str( n ) + "]" + LTrim( Str( Len( Str( n ) ) ) )
