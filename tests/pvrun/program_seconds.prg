// PROGRAMSECONDS() counts from the program's start, also when the GUI library that answers it
// is loaded only at its first call.
PROCEDURE Main()
   LOCAL t := SECONDS()
   DO WHILE ABS( SECONDS() - t ) < 0.3
   ENDDO
   ? ProgramSeconds() >= 0.3, ProgramSeconds() < 600
RETURN
