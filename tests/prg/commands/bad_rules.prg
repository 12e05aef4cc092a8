// Faulty rules and rules that never stop are compile errors with their place.
#command SHOUT [<x> => QOut( Upper( <x> ) )
#command WHISPER <> => QOut()
#command ECHO <x> => QOut( <y> )
#xcommand AGAIN => AGAIN
#translate MORE => MORE + 1

PROCEDURE Main()
   LOCAL n := 1
   AGAIN
   n := MORE
   RETURN
