// Fifty nested modal dialogs are bound to their objects; the 51st gets no binding and only the
// default dialog handling (its init block never runs). A quit message then unwinds them all.
STATIC s_nInitiated := 0

PROCEDURE Main()
   Level( 1 )
   ? "initiated", s_nInitiated
RETURN

STATIC FUNCTION Level( n )
   LOCAL oDlg := TDialog():New( 1, 1, 5, 30, "Level " + LTrim( Str( n ) ) )
   oDlg:Activate( , , , , , , {|| s_nInitiated++, Next( n ), .T. } )
RETURN NIL

STATIC FUNCTION Next( n )
   IF n == 50
      PostQuitMessage( 0 )
   ENDIF
   IF n <= 50
      Level( n + 1 )
   ENDIF
RETURN NIL
