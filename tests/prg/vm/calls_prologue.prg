// Procedures called many times after their first call: statics, names and lines reported
// from inside them, fewer and more arguments than declared, PARAMETERS, recursion.
STATIC s_count := 0

PROCEDURE Main()
   LOCAL i
   FOR i := 1 TO 3
      ? Counted(), Where()
   NEXT
   ? Two( 1 ), Two( 1, 2 ), Two( 1, 2, 3 ), Two()
   ? Params( "a", "b" ), Params( "x" )
   ? Fact( 10 ), Fact( 20 )
   ? PCountOf(), PCountOf( 1, , 3 )
   ? Inner( 1 ), Inner( 2 )
RETURN

STATIC FUNCTION Counted()
   STATIC nCalls := 0
   nCalls++
   s_count += 10
RETURN nCalls + s_count

STATIC FUNCTION Where()
RETURN ProcName( 0 ) + "/" + LTrim( Str( ProcLine( 0 ) ) ) + "/" + ProcFile( 0 ) + " " + ProcName( 1 ) + "/" + LTrim( Str( ProcLine( 1 ) ) )

STATIC FUNCTION Two( a, b )
   LOCAL c := "c"
RETURN ToText( a ) + ToText( b ) + c + LTrim( Str( PCount() ) )

STATIC FUNCTION Params()
   PARAMETERS p1, p2
RETURN ToText( p1 ) + "-" + ToText( p2 )

STATIC FUNCTION Fact( n )
RETURN iif( n <= 1, 1, n * Fact( n - 1 ) )

STATIC FUNCTION PCountOf( a )
RETURN LTrim( Str( PCount() ) ) + ToText( a )

STATIC FUNCTION Inner( n )
   LOCAL b := {| x | x + n + Len( ProcName( 0 ) ) }
RETURN Eval( b, 100 )

STATIC FUNCTION ToText( x )
RETURN iif( x == NIL, "NIL", iif( ValType( x ) == "N", LTrim( Str( x ) ), x ) )
