// A function defined nowhere, neither in the runtime nor in the GUI library: the error object
// caught by a handler, and the default error system's message when none catches it.
PROCEDURE Main()
   LOCAL oError, bDefault
   bDefault := ErrorBlock( {| e | Break( e ) } )
   BEGIN SEQUENCE
      NoSuchFunction( 1, "two" )
   RECOVER USING oError
      ? oError:SubSystem, oError:SubCode, oError:Description, oError:Operation, Len( oError:Args )
   END SEQUENCE
   ErrorBlock( bDefault )
   ? "again"
   NoSuchFunction()
   ? "not reached"
RETURN
