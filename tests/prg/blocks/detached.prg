// Locals captured by code blocks stay shared with the procedure and live on after it returns.
PROCEDURE Main()
   LOCAL aB, b, c, i, aAll := {}
   aB := Counter()
   ? "counter", Eval( aB[ 1 ] ), Eval( aB[ 1 ] ), Eval( aB[ 2 ] ), Eval( aB[ 1 ] )
   b := Later()
   ? "later", Eval( b )
   c := Adder( 10 )
   ? "param", Eval( c, 5 ), Eval( c, 1 )
   FOR i := 1 TO 3
      AAdd( aAll, {|| i } )
   NEXT
   ? "loop var", Eval( aAll[ 1 ] ), Eval( aAll[ 3 ] )
   ? "nested", Eval( Eval( Nest() ) ), Eval( Eval( Nest() ) )
   ? "byref", ByRef()
   ? "params", Eval( {| p, q | ValType( p ) + ValType( q ) }, 1 ), Eval( {| p | p }, 1, 2, 3 )
RETURN

// Two blocks over one local: incrementing and resetting it.
FUNCTION Counter()
   LOCAL n := 0
RETURN { {|| ++n }, {|| n := 100 } }

// The local changes after the block is made; the block sees the change.
FUNCTION Later()
   LOCAL cText := "before"
   LOCAL b := {|| cText }
   cText := "after"
RETURN b

FUNCTION Adder( nBase )
RETURN {| x | nBase += x }

// A block that makes a block over the outer block's detached local.
FUNCTION Nest()
   LOCAL n := 1
RETURN {|| {|| n *= 2 } }

// A block changes the local; passing it by reference to a function changes it too.
FUNCTION ByRef()
   LOCAL v := 1
   LOCAL b := {|| v += 10 }
   Eval( b )
   Bump( @v )
RETURN v

PROCEDURE Bump( x )
   x *= 3
RETURN
