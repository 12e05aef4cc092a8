// IIF evaluates only the chosen branch; hashes; nested array elements; lists; empty texts.
PROCEDURE Main()
   LOCAL h := { "b" => 2, "a" => 1 }, b, n := 0, a := { 1, { 2, 3 } }, s := "hello"
   ? "iif lazy", IIF( .T., "yes", Boom() ), IIF( .F., Boom(), "no" )
   ? "hash", h[ "a" ], Len( h )
   ? "nested", a[ 2, 1 ], a[ 2 ][ 2 ], Len( a[ 2 ] )
   a[ 2, 2 ] := "x"
   ? "nested set", a[ 2 ][ 2 ]
   ? "list", ( n := 5, n * 2 ), n
   ? "empty", "" $ "abc", "abc" $ "", Len( "" + "" )
RETURN
FUNCTION Boom()
   ? "BOOM"
RETURN NIL
FUNCTION Double( x )
RETURN x * 2
