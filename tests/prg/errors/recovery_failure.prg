// A handler asking to retry an error that allows no retry ends the process with internal
// error 9001; nothing after the failing statement runs.
PROCEDURE Main()
   LOCAL a := { 1 }
   ErrorBlock( {| e | .T. } )
   ? "start"
   a[ 5 ] := 1
   ? "not reached"
RETURN
