// Message boxes show any value, converted; the caption comes from the second argument only
// when exactly two are given; MSGYESNO is true only for Yes.
PROCEDURE Main()
   SET( 4, "dd.mm.yyyy" )
   MsgAlert( 5, "Row" )
   MsgAlert( .T. )
   MsgAlert( "x", "Title", 3 )
   MsgInfo( NIL, 2.5 )
   MsgStop( SToD( "20240229" ), "Date" )
   MsgInfo( { 1 }, TBrush():New( , 1 ) )
   MsgInfo( "two" + Chr( 13 ) + Chr( 10 ) + "lines", 123456789012 )
   ? "yes", MsgYesNo( "Really?" )
   ? "no", MsgYesNo( "Really?", "Question" )
RETURN
