// The default error system: the message with subsystem, subcode, description and operation,
// one line per call level with procedure, line and file, exit code 1, stdout kept.
PROCEDURE Main()
   ? "before"
   Outer( "x" )
   ? "not reached"
RETURN

PROCEDURE Outer( c )
   LOCAL n := 2
   ? c * n
RETURN
