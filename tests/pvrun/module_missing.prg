// Run by a pvrun without its GUI module beside it: a call of a function of the GUI library says
// that the library is missing, then fails as an undefined function.
PROCEDURE Main()
   ? "before"
   ? cValToChar( 12 )
RETURN
