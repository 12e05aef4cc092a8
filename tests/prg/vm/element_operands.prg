// Element reads and assignments whose index is a local or a literal (taken without pushing
// it): plain arrays inside and outside their length, nested arrays, arrays held only by the
// stack, an array stored into itself, objects with an index operator, hashes, other index
// types, and the errors with their substitutes.
PROCEDURE Main()
   LOCAL a := { 10, "two", { 3, 4 }, NIL }, i := 2, j := 5, z := 0, d := 2.0, g, h := { 2 => "h2" }
   LOCAL m := Array( 3, 3 ), k, n := 0, o
   ERRORBLOCK( {| e | Report( e ) } )
   ? "read", a[ i ], a[ 1 ], a[ 3 ][ i ], a[ 3 ][ 1 ], Make()[ i ][ 1 ], Make()[ 1 ]
   ? "bounds", a[ j ], a[ z ], a[ 7 ], a[ d ], h[ i ], h[ 2 ]
   a[ i ] := "new"
   a[ 4 ] := 44
   a[ 3 ][ i ] := 40
   ? "store", a[ 2 ], a[ 4 ], a[ 3 ][ 2 ]
   ERRORBLOCK( {| e | Report( e ), Break( e ) } )
   BEGIN SEQUENCE
      a[ j ] := "x"
   END SEQUENCE
   BEGIN SEQUENCE
      a[ z ] := "y"
   END SEQUENCE
   ERRORBLOCK( {| e | Report( e ) } )
   h[ i ] := "hh"
   h[ 3 ] := "h3"
   ? "stored", Len( a ), h[ 2 ], h[ 3 ]
   ? "missing", h[ j ], h[ 9 ], h[ "2" ]
   PV_HAutoAdd( h, .F. )
   BEGIN SEQUENCE
      ERRORBLOCK( {| e | Report( e ), Break( e ) } )
      h[ j ] := "no"
   END SEQUENCE
   ERRORBLOCK( {| e | Report( e ) } )
   ? "autoadd", Len( h ), h[ 3 ]
   FOR i := 1 TO 3
      FOR k := 1 TO 3
         m[ i ][ k ] := i * 10 + k
      NEXT
   NEXT
   FOR i := 1 TO 3
      FOR k := 1 TO 3
         n += m[ i ][ k ]
      NEXT
   NEXT
   ? "matrix", n, m[ 3 ][ 2 ]
   g := { 1, 2 }
   i := 1
   g[ i ] := g
   ? "self", ValType( g[ 1 ] ), g[ 1 ][ 2 ], Len( g[ 1 ][ 1 ] )
   g[ i ] := 0
   o := TIdx():New()
   i := 7
   ? "object", o[ i ], o[ 3 ]
   k := "text"
   ? "other", k[ i ], k[ 1 ]
   g := { 1.5, "s" }
   i := 1
   g[ i ] += 1
   ? "plus", g[ 1 ], Str( g[ i ] )
RETURN

STATIC FUNCTION Make()
RETURN { { "x" }, { "y", "z" } }

CLASS TIdx
   METHOD New() INLINE Self
   OPERATOR "[]" ARG n INLINE n * 2
ENDCLASS

STATIC FUNCTION Report( e )
   LOCAL args := e:args, text := "", a
   FOR EACH a IN args
      text += ValType( a )
   NEXT
   ?? " {" + e:operation + " " + LTrim( Str( e:subCode ) ) + " " + text + "}"
RETURN "subst"
