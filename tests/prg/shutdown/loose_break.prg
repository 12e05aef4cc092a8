// A BREAK outside every sequence ends the procedure chain quietly; EXIT procedures run.
PROCEDURE Main()
   ? "main"
   Break( "loose" )
   ? "after"
RETURN
EXIT PROCEDURE Bye()
   ? "exit proc"
RETURN
