// The macro operator: &name, &( expr ), &name() calls, assignment through a macro, memory
// variables and fields resolved when the text runs, blocks compiled from text.
MEMVAR cVar, nVal, cFun, cExpr
PROCEDURE Main()
   LOCAL b, e
   PRIVATE cVar := "nVal", nVal := 21, cFun := "Upper", cExpr := "nVal * 2 + 1"
   ? "name", &cVar, &cExpr
   ? "paren", &( "1 + 2 * 3" ), &( cVar + " + 1" ), &( "'a' + 'b'" )
   ? "call", &cFun( "abc" ), &( cFun + "('x')" )
   &cVar := 5
   ? "assign", nVal
   b := &( "{| x | x * nVal }" )
   ? "block", ValType( b ), Eval( b, 3 )
   nVal := 10
   ? "late", Eval( b, 3 ), &cExpr
   ? "types", ValType( &( "Date()" ) ), &( ".T. .AND. .F." ), &( "{ 1, 2, 3 }" )[ 2 ], &( "'x' $ 'xyz'" )
   ? "iif", &( "IIF( nVal > 5, 'big', 'small' )" )
   TRY
      ? &( "nothere + 1" )
   CATCH e
      ? "missing", e:GenCode, e:SubCode, e:Operation
   END
   TRY
      ? &( "1 +" )
   CATCH e
      ? "syntax", e:GenCode, e:SubCode, e:Operation, e:Args[ 1 ]
   END
   TRY
      ? &( 5 )
   CATCH e
      ? "not text", e:GenCode, e:SubCode, e:Operation
   END
RETURN

