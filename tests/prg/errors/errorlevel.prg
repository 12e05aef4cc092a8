// ERRORLEVEL returns the previous exit code and sets the new one, which ends the process.
PROCEDURE Main()
   ? ErrorLevel(), ErrorLevel( 7 ), ErrorLevel()
RETURN
