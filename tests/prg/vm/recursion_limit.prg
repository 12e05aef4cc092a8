// Runaway recursion ends in an error the program can recover from, as often as it happens, and
// ordinary deep recursion still runs.
PROCEDURE Main()
   LOCAL i, e, nDepth
   ErrorBlock( {| x | Break( x ) } )
   FOR i := 1 TO 3
      nDepth := 0
      BEGIN SEQUENCE
         Runaway( @nDepth )
      RECOVER USING e
         ? i, e:subsystem, e:subCode, e:description, e:operation, nDepth > 20
      END SEQUENCE
   NEXT
   ? "deep", Sum( 30 )
RETURN

STATIC PROCEDURE Runaway( nDepth )
   nDepth++
   Runaway( @nDepth )
RETURN

STATIC FUNCTION Sum( n )
RETURN iif( n == 0, 0, n + Sum( n - 1 ) )
