// Two hundred modeless dialogs with a control each are accepted; the 201st is refused with an
// alert and never gets a window.
PROCEDURE Main()
   LOCAL aDlgs := {}, oDlg, i
   FOR i := 1 TO 201
      oDlg := TDialog():New( 1, 1, 5, 30, "Modeless " + LTrim( Str( i ) ) )
      TButton():New( 1, 1, "&Close", oDlg, {|| NIL }, 40, 14 )
      oDlg:Activate( , , , , , .F. )
      AAdd( aDlgs, oDlg )
   NEXT
   ? "200th open", IsWindow( aDlgs[ 200 ]:hWnd ), "201st", aDlgs[ 201 ]:hWnd, "can register", CanRegDialog()
   aDlgs[ 1 ]:End()
   SysRefresh()
   ? "after closing one", CanRegDialog(), "window", aDlgs[ 1 ]:hWnd
   AEval( aDlgs, {| o | iif( o:hWnd != 0, DestroyWindow( o:hWnd ), NIL ) } )
   ? "all closed", NWindows() >= 0
RETURN
