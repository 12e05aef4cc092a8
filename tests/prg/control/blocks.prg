// Code blocks share the locals they use with their procedure, also after it returns.
PROCEDURE Main()
   LOCAL b, a, n := 10, aBlocks
   b := MakeCounter()
   Eval( b )
   Eval( b )
   ? "counter", Eval( b )
   b := {|x| n += x }
   Eval( b, 5 )
   n := n * 2
   ? "shared", n, Eval( b, 1 )
   aBlocks := Adders()
   ? "adders", Eval( aBlocks[ 1 ], 1 ), Eval( aBlocks[ 2 ], 1 )
   a := { 5, 3, 9, 1 }
   ASort( a, 1, Len( a ), {|x, y| x > y } )
   ? "sorted", a[ 1 ], a[ 2 ], a[ 3 ], a[ 4 ]
   n := 0
   AEval( a, {|x| n += x } )
   ? "aeval", n
   ? "nested", Eval( {|x| Eval( {|y| x * y }, 3 ) }, 7 )
   ? "params", Eval( {|x, y| ValType( y ) }, 1 )
   Change( @n )
   ? "byref", n
RETURN

FUNCTION MakeCounter()
   LOCAL nCount := 0
RETURN {|| ++nCount }

FUNCTION Adders()
   LOCAL nBase := 100, b1, b2
   b1 := {|x| nBase + x }
   nBase := 200
   b2 := {|x| nBase + x }
RETURN { b1, b2 }

PROCEDURE Change( n )
   n := -1
RETURN
