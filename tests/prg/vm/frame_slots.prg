// Frames opened many times, deep enough that the stack grows while their slots are opened:
// parameters not passed and every local start as NIL, whatever earlier calls left there.
PROCEDURE Main()
   ? Deep( 40, 0 ), Deep( 40 ), Deep( 3, 1, NIL, "extra", "more" ), Deep( 1, 5, NIL, "extra" )
   ? Fill( 1 ), Fill( 2 ), Fill()
RETURN

STATIC FUNCTION Deep( n, m, c )
   LOCAL a, b, d, e, f, g, h, i, j, k
   LOCAL l1, l2, l3, l4, l5, l6, l7, l8, l9, l10, l11, l12, l13, l14, l15, l16, l17, l18, l19, l20
   IF a != NIL .OR. k != NIL .OR. l20 != NIL .OR. c != NIL .OR. ( PCount() < 2 .AND. m != NIL )
      RETURN "dirty at " + LTrim( Str( n ) )
   ENDIF
   a := b := d := e := k := l1 := l20 := n
   c := "set"
   IF n > 1
      RETURN Deep( n - 1, iif( PCount() > 1, m, NIL ) )
   ENDIF
RETURN "clean " + LTrim( Str( PCount() ) ) + " " + iif( m == NIL, "NIL", LTrim( Str( m ) ) )

STATIC FUNCTION Fill( x )
   LOCAL a, b
   LOCAL t := ValType( a ) + ValType( b ) + ValType( x )
   a := Replicate( "x", 10 )
   b := { a, a }
RETURN t
