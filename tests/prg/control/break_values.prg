// BREAK values of every kind through several call levels and code blocks; privates of the
// abandoned procedures are released; an error handler that breaks hands over the error object.
MEMVAR Depth
PROCEDURE Main()
   LOCAL x, i, aSeen := {}
   PRIVATE Depth := "main"
   BEGIN SEQUENCE
      Level( 3, { 1, "two", 0d20240101 } )
   RECOVER USING x
      ? "array", ValType( x ), Len( x ), x[ 2 ], Depth
   END SEQUENCE
   BEGIN SEQUENCE
      Eval( {| n | Level( n, {|| "block value" } ) }, 2 )
   RECOVER USING x
      ? "block", Eval( x )
   END SEQUENCE
   BEGIN SEQUENCE
      Break( NIL )
   RECOVER USING x
      ? "no value", ValType( x )
   END SEQUENCE
   BEGIN SEQUENCE
      Break( "dropped" )
   RECOVER
      ? "without using"
   END SEQUENCE
   FOR i := 1 TO 3
      BEGIN SEQUENCE
         IF i % 2 == 1
            Break( i * 100 )
         ENDIF
         AAdd( aSeen, i )
      RECOVER USING x
         AAdd( aSeen, x )
      END SEQUENCE
   NEXT
   ? "loop", aSeen[ 1 ], aSeen[ 2 ], aSeen[ 3 ]
   x := ErrorBlock( {| e | Break( e ) } )
   BEGIN SEQUENCE
      Level( 2, NIL, .T. )
   RECOVER USING x
      ? "error object", x:ClassName(), x:SubCode, x:Operation, Depth
   END SEQUENCE
   BEGIN SEQUENCE
      ? "normal end"
   RECOVER
      ? "never"
   END SEQUENCE
   ? "after", Depth
RETURN

PROCEDURE Level( n, xValue, lError )
   PRIVATE Depth := n
   IF n == 0
      IF lError == .T.
         ? 1 / {}
      ENDIF
      Break( xValue )
   ENDIF
   Level( n - 1, xValue, lError )
RETURN
