// Operators whose right operand is a local or a literal (applied without pushing the operand):
// results, widths and decimals for every kind of literal and of left operand, locals passed by
// reference, comparisons as values and as conditions, and errors with their substitutes.
PROCEDURE Main()
   LOCAL i := 7, big := 2147483647, d := 2.5, w := 123.456, c := "x", n, k
   ? "int", Pic( i + 0 ), Pic( i - 1 ), Pic( i * 100 ), Pic( i + 30000 ), Pic( i * 100000 ), Pic( i - 2.25 )
   ? "big", Pic( big + 1 ), Pic( big * 3 ), Pic( big - -1 ), Pic( big * 2147483647 ), Pic( -big - 100 )
   n := big * big
   ? "long", Pic( n + 1 ), Pic( n * 4 ), Pic( n - 1.5 ), Pic( n * n )
   ? "dbl", Pic( d + 1 ), Pic( d * 10 ), Pic( d - 0.125 ), Pic( w * 1.5 ), Pic( w + 100000 ), Pic( d * 1000000000 )
   ? "locals", Pic( i + d ), Pic( d + i ), Pic( i * big ), Pic( big + i ), Pic( w - d ), Pic( d * w )
   ? "cmp", i < 8, i <= 7, i > 6.5, i >= 7.5, i == 7, i = 7.0, i != 7, d < i, big > n, n > big
   ? "nan", Pic( d / 0.0 + 1 )
   ByRef( @i, @d )
   ? "after", Pic( i ), Pic( d )
   k := 0
   FOR n := 1 TO 5
      IF n > 2 .AND. n <= 4
         k += n
      ENDIF
      IF n == 5 .OR. n < 2
         k += 100
      ENDIF
   NEXT
   ? "branch", k
   n := {| x, y | x * y < 10 .OR. x + 1 == y }
   ? "block", Eval( n, 2, 4 ), Eval( n, 3, 4 ), Eval( n, 4, 5 ), Eval( {| x | x - k }, 7 ), Eval( {|| k * i }, 0 )
   ERRORBLOCK( {| e | Report( e ) } )
   ? "err", c + 1, c * 2, c - 1.5, c < 5, c >= i, i + c, d * c
RETURN

// Parameters passed by reference are read through the reference.
STATIC PROCEDURE ByRef( a, b )
   ? "byref", Pic( a + 1 ), Pic( a * b ), Pic( b - a ), a < b, b < 3, a > 6
   a := a * 2
   b := b + 0.05
RETURN

// Type, text of STR without arguments, and its length.
STATIC FUNCTION Pic( n )
RETURN ValType( n ) + "[" + Str( n ) + "]" + LTrim( Str( Len( Str( n ) ) ) )

STATIC FUNCTION Report( e )
   LOCAL args := e:args, text := "", a
   FOR EACH a IN args
      text += ValType( a )
   NEXT
   ?? " {" + e:operation + " " + LTrim( Str( e:subCode ) ) + " " + text + "}"
RETURN 42
