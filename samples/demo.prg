// A short tour of the runtime, run by scripts/demo until the application exists.
PROCEDURE Main()
   LOCAL aInvoices, oTotal, h, b, d
   SET( 4, "dd.mm.yyyy" )
   ? "xlforms runtime: values, code blocks, classes, dates and errors"
   aInvoices := { { "Mueller GmbH", 120.5 }, { "Baeckerei Koch", 80 }, { "Fischer AG", 310.25 } }
   ASort( aInvoices, 1, Len( aInvoices ), {|x, y| x[ 2 ] > y[ 2 ] } )
   oTotal := TTotal():New()
   AEval( aInvoices, {|a| oTotal:Add( a[ 2 ] ), QOut( PadR( a[ 1 ], 16 ), Transform( a[ 2 ], "9,999.99" ) ) } )
   ? PadR( "Total", 16 ), Transform( oTotal:nSum, "9,999.99" ), "in", oTotal:nCount, "invoices"
   d := SToD( "20240229" )
   ? "Leap day", DToC( d ), CDoW( d ), "plus 366 days is", DToC( d + 366 )
   h := { "Program 01" => 3, "Program 02" => 5 }
   h[ "Program 03" ] := 1
   ? "Products", Len( h ), "keys; Program 02 sold", h[ "Program 02" ]
   b := {|n| IIf( n < 2, n, Eval( b, n - 1 ) + Eval( b, n - 2 ) ) }
   ? "Fibonacci(20) through a recursive block:", Eval( b, 20 )
   BEGIN SEQUENCE
      ? "Dividing by zero gives", 10 / 0, "(the default error system substitutes 0)"
      Break( "left the sequence with BREAK" )
   RECOVER USING d
      ? "Recovered:", d
   END SEQUENCE
RETURN

CLASS TTotal
   DATA nSum INIT 0
   DATA nCount INIT 0
   METHOD New() INLINE Self
   METHOD Add( n ) INLINE ( ::nSum += n, ::nCount++, Self )
ENDCLASS
