// Integer results past 32 bits: sums, differences and products of 32- and 64-bit integers,
// their display widths, comparisons between the two kinds, and overflow past 64 bits.
PROCEDURE Main()
   LOCAL a := 2147483647, b := 1, n := 0, i, big := 9223372036854775807, l
   ? a + b, Len( Str( a + b ) ), a - ( -b ), Len( Str( a * 3 ) )
   ? -a - 2, Len( Str( -a - 2 ) ), ( a + b ) - 1, Len( Str( ( a + b ) - 1 ) )
   l := a + 10
   ? l * l, Len( Str( l * 2 ) ), l - l, Len( Str( l - l ) ), l + 0.5
   ? 99999 * 100000, Len( Str( 99999 * 100000 ) ), 10000000000 - 1, Len( Str( 10000000000 - 1 ) )
   ? -999999999 - 1, Len( Str( -999999999 - 1 ) ), -999999999 * 10, Len( Str( -999999999 * 10 ) )
   FOR i := 1 TO 100000
      n += i * 50000
   NEXT
   ? n, Len( Str( n ) )
   ? l > a, l < a, l == a + 10, l = 2147483657.0, l != a, a < l, l >= l, l <= a
   ? big + 1, big * 2, -big - 2, Len( Str( big + 1 ) )
   IF l > a .AND. n > l
      ? "longs compare"
   ENDIF
RETURN
