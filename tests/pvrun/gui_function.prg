// The first call of a function of the GUI library loads it, and the call goes on.
PROCEDURE Main()
   ? "before"
   ? cValToChar( 12 ), cValToChar( .T. ), cValToChar( {} )
   ? "after"
RETURN
