// Exponential, logarithm and square root: values, their STR widths, 0 and negative numbers.
PROCEDURE Main()
   ? Exp( 0 ), Exp( 1 ), Str( Exp( 1 ), 12, 6 ), Exp( -1 ), Len( Str( Exp( 2 ) ) )
   ? Log( 1 ), Log( 10 ), Str( Log( Exp( 3 ) ), 10, 4 ), Round( Log( 0.5 ), 4 )
   ? Str( Log( 0 ) ), Str( Log( -1 ) ), Len( Str( Log( 0 ) ) )
   ? Sqrt( 0 ), Sqrt( 16 ), Sqrt( 2 ), Sqrt( -4 ), Str( Sqrt( 2 ), 12, 8 ), Len( Str( Sqrt( 9 ) ) )
   ? Str( Exp( 1000 ) ), Exp( -1000 )
   SET DECIMALS TO 4
   ? Exp( 1 ), Sqrt( 2 ), Log( 2 )
   ShowError( {|| Exp( "1" ) } )
   ShowError( {|| Log() } )
   ShowError( {|| Sqrt( .T. ) } )
RETURN

PROCEDURE ShowError( b )
   LOCAL e
   TRY
      Eval( b )
      ? "no error"
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation, Len( e:Args )
   END
RETURN
