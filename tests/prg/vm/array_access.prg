// Element reads: plain arrays with integer indexes inside and outside their length, other
// index types, nested arrays whose outer array goes with the read, objects with an index
// operator, hashes, and the holders of shared arrays after many copies.
PROCEDURE Main()
   LOCAL a := { 10, "two", { 3, 4 }, NIL }, b, i, n := 0, o, e, h := { "k" => 1 }
   ERRORBLOCK( {| err | Report( err ) } )
   ? a[ 1 ], a[ 2 ], a[ 3 ][ 2 ], a[ 4 ], a[ 1.9 ], a[ 2.0 ]
   ? { { 1, 2 }, { 3, 4 } }[ 2 ][ 1 ]
   ? Make()[ 2 ][ 2 ]
   FOR i := 1 TO Len( a[ 3 ] )
      n += a[ 3 ][ i ]
   NEXT
   ? n
   ? "read", a[ 5 ]
   ? "read", a[ 0 ]
   ? "read", a[ -1 ]
   ? "read", a[ "x" ]
   ? h[ "k" ]
   b := a
   FOR i := 1 TO 1000
      b := AClone( a )
      b := a[ 3 ]
   NEXT
   ? b[ 1 ], Len( a ), a[ 3 ] == b
   o := TIdx():New()
   ? o[ 7 ]
RETURN

STATIC FUNCTION Make()
RETURN { "x", { "y", "z" } }

CLASS TIdx
   METHOD New() INLINE Self
   OPERATOR "[]" ARG n INLINE n * 2
ENDCLASS

STATIC FUNCTION Report( e )
   ?? " {" + e:operation + " " + LTrim( Str( e:subCode ) ) + " " + LTrim( Str( Len( e:args ) ) ) + "}"
RETURN "subst"
