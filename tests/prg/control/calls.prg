// Parameters: missing ones are NIL, extra ones reachable through PCOUNT/PVALUE/PV_APARAMS,
// DO ... WITH passes variables by reference, PARAMETERS makes privates, WITH OBJECT nests,
// a call of a function that does not exist raises 12/1001 with the call's arguments.
PROCEDURE Main()
   LOCAL x := 1, y := "a", e, o1 := ErrorNew(), o2 := ErrorNew()
   ? "missing", Two( 1 )
   ? "extra", Extra( 1, 2, 3 )
   DO Change WITH x, y
   ? "do with", x, y
   Change( x, y )
   ? "by value", x, y
   Change( @x, @y )
   ? "by ref", x, y
   ? "parameters", Params( "p", 9 )
   o1:Cargo := "outer"
   o2:Cargo := "inner"
   WITH OBJECT o1
      :SubCode := 11
      WITH OBJECT o2
         :SubCode := 22
         ? "with", :Cargo, :SubCode
      END
      ? "with", :Cargo, :SubCode, o2:SubCode
   END
   TRY
      NoSuchFunction( 1, "z" )
   CATCH e
      ? "undefined", e:GenCode, e:SubCode, e:Operation, Len( e:Args ), e:Args[ 2 ]
   END
   ? "recursion", Fact( 10 ), Fib( 15 )
RETURN

FUNCTION Two( a, b )
RETURN ValType( a ) + ValType( b ) + LTrim( Str( PCount() ) )

FUNCTION Extra( a )
   LOCAL aAll := PV_APARAMS()
RETURN LTrim( Str( PCount() ) ) + " " + LTrim( Str( PValue( 3 ) ) ) + " " + LTrim( Str( Len( aAll ) ) )

PROCEDURE Change( p, q )
   p := p * 10
   q := q + "b"
RETURN

FUNCTION Params()
   PARAMETERS cFirst, nSecond
RETURN cFirst + Str( nSecond, 2 ) + Peek()

FUNCTION Peek()
RETURN "/" + M->cFirst

FUNCTION Fact( n )
RETURN IIF( n <= 1, 1, n * Fact( n - 1 ) )

FUNCTION Fib( n )
RETURN IIF( n < 2, n, Fib( n - 1 ) + Fib( n - 2 ) )
