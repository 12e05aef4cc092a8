// Faulty rules and rules that never stop are compile errors with their place.
#command SHOUT [<x> => QOut( Upper( <x> ) )
#command WHISPER <> => QOut()
#command ECHO <x> => QOut( <y> )
#xcommand AGAIN => AGAIN
#translate MORE => MORE + 1
#xtranslate GROW <*t*> => GROW #<t> + <"t">

PROCEDURE Main()
   LOCAL n := 1
   AGAIN
   n := MORE
   n := GROW n
   RETURN
