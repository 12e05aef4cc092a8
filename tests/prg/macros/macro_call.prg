// &name( args ) calls the function named by the text; errors of the macro operator itself.
MEMVAR cFun
PROCEDURE Main()
   LOCAL e
   PRIVATE cFun := "Upper"
   ? &cFun( "abc" ), &cFun( "x" ) + "y"
   cFun := "Twice"
   ? &cFun( 21 )
   TRY
      ? &( 5 )
   CATCH e
      ? "not text", e:GenCode, e:SubCode, e:Operation
   END
RETURN

FUNCTION Twice( n )
RETURN n * 2
