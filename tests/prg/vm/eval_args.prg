// EVAL with fewer, as many and more arguments than the block declares, arguments by
// reference, PCOUNT inside, blocks calling EVAL in turn, and EVAL of something else.
PROCEDURE Main()
   LOCAL b2 := {| a, b | ToText( a ) + "," + ToText( b ) }, v := 1, e
   LOCAL bInc := {| x | x++ }, bDeep
   bDeep := {| n | iif( n <= 0, 0, n + Eval( bDeep, n - 1 ) ) }
   ? Eval( b2 ), Eval( b2, 1 ), Eval( b2, 1, 2 ), Eval( b2, 1, 2, 3 )
   Eval( bInc, @v )
   ? v
   ? Eval( {|| PCount() } ), Eval( {| a | PCount() }, 1, 2, 3 )
   ? Eval( bDeep, 20 )
   TRY
      Eval( 42 )
   CATCH e
      ? "not a block", e:operation, e:subCode
   END
RETURN

STATIC FUNCTION ToText( x )
RETURN iif( x == NIL, "NIL", LTrim( Str( x ) ) )
