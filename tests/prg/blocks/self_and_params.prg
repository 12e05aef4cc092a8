// Blocks that use Self inside a method, capture block parameters in inner blocks, call
// themselves through their own detached local, and change a local from AEVAL.
PROCEDURE Main()
   LOCAL o := TCnt():New(), b, a
   b := o:Incr()
   Eval( b ) ; Eval( b )
   ? "self in block", o:n
   a := MakePair()
   Eval( a[ 1 ], 5 )
   ? "pair", Eval( a[ 2 ] )
   b := {| x | {| y | x + y } }
   ? "param capture", Eval( Eval( b, 10 ), 5 ), Eval( Eval( b, 1 ), 1 )
   ? "recursive block", Fact( 6 )
   ? "aeval", Sum( { 1, 2, 3, 4 } )
RETURN

FUNCTION MakePair()
   LOCAL v := 0
RETURN { {| n | v := n }, {|| v * 2 } }

FUNCTION Fact( n )
   LOCAL b
   b := {| k | IIF( k <= 1, 1, k * Eval( b, k - 1 ) ) }
RETURN Eval( b, n )

FUNCTION Sum( a )
   LOCAL t := 0
   AEval( a, {| x | t += x } )
RETURN t

CLASS TCnt
   DATA n INIT 0
   METHOD New() INLINE Self
   METHOD Incr()
ENDCLASS

METHOD Incr() CLASS TCnt
RETURN {|| ::n++ }
