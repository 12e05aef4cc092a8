// A program that defines a function under a name the GUI library also has calls its own, and
// the library is not loaded for it.
PROCEDURE Main()
   MsgInfo( "hello" )
RETURN

FUNCTION MsgInfo( cText )
   ? "mine:", cText
RETURN NIL
