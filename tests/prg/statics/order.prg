// Start-up order: static initialisers first, then INIT procedures with the arguments, then Main;
// EXIT procedures after Main, also when Main ends with QUIT; ERRORLEVEL is the exit code.
STATIC s_aTrace := { "statics" }
STATIC s_nStamp := 1

INIT PROCEDURE First( cArg )
   AAdd( s_aTrace, "init1:" + cArg )
RETURN

PROCEDURE Main( cArg, cOther )
   LOCAL c
   AAdd( s_aTrace, "main:" + cArg + "," + cOther )
   FOR EACH c IN s_aTrace
      ?? c, ""
   NEXT
   ErrorLevel( 3 )
   Leave()
   ? "not reached"
RETURN

PROCEDURE Leave()
   QUIT
RETURN

INIT PROCEDURE Second()
   AAdd( s_aTrace, "init2:" + LTrim( Str( s_nStamp ) ) )
RETURN

EXIT PROCEDURE Bye()
   ? "exit", ErrorLevel()
RETURN
