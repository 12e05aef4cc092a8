// Results of the arithmetic and comparison operators on integers, doubles and mixed operands:
// value, type, width and decimals as STR shows them, and overflow of integers into wider kinds.
PROCEDURE Main()
   LOCAL i := 7, j := -3, d := 2.5, e := 0.125, big := 2147483647, neg := -2147483647
   LOCAL values := { 7, -3, 2.5, 0.125, 1000000000, 1500000000000.5 }, a, b
   FOR EACH a IN values
      FOR EACH b IN values
         Show( a, b )
      NEXT
   NEXT
   ? "div", Pic( i / 7 ), Pic( i / 2 ), Pic( d / e ), Pic( 10 / 4 ), Pic( -8 / 2 ), Pic( 6 / -1 )
   ? "addint", Pic( d + 1 ), Pic( d - 2 ), Pic( e + 100 ), Pic( i + 3 ), Pic( big + 1 ), Pic( neg - 5 )
   ? "over", Pic( big + 1 ), Pic( big + big ), Pic( neg - big ), Pic( big * 2 ), Pic( big * big ), Pic( -big - 2 )
   ? "over2", Pic( 65536 * 65536 ), Pic( 46341 * 46341 ), Pic( 46340 * 46340 ), Pic( big - -1 )
   ? "neg", Pic( -d ), Pic( -i ), Pic( j * d ), Pic( j - d ), Pic( 0.1 + 0.2 )
   ? "cmp", i < d, d < i, i == 7.0, d = 2.5, d != 2.5, e <= 0.125, e >= 0.13, 3 > 2.999, -1 < j
   ? "loop", Loop()
RETURN

STATIC PROCEDURE Show( a, b )
   ? Pic( a ), Pic( b ), "+", Pic( a + b ), "-", Pic( a - b ), "*", Pic( a * b ), "/", Pic( a / b ), ;
     "<", a < b, "=", a = b, ">=", a >= b
RETURN

// Type, text of STR without arguments, and its length.
STATIC FUNCTION Pic( n )
RETURN ValType( n ) + "[" + Str( n ) + "]" + LTrim( Str( Len( Str( n ) ) ) )

// A floating-point accumulation in a loop keeps the decimals of its operands.
STATIC FUNCTION Loop()
   LOCAL x := 0.0, k, s := 0, y := 0.5, z := 1.25, w := 2147483600
   FOR k := 1 TO 10
      x := x * 1.5 + 0.25
      s += k
      y += x
      z += 1
      w += 10
      s += 0.5
   NEXT
RETURN Pic( x ) + " " + Pic( s ) + " " + Pic( x * x ) + " " + Pic( y ) + " " + Pic( z ) + " " + Pic( w )
