// Wrong argument types, dead handles and templates with bad bytes give failure values or the
// GUI errors, never a crash.
PROCEDURE Main()
   LOCAL oDlg, e
   ? "dialogbox", DialogBox( "x", 5, "y" ), DialogBoxIndirect( 0, "garbage", 0 ), DialogBoxIndirect( 0, "", 0 )
   ? "createdlg", CreateDlg( 0, "NOSUCH", 0 ), CreateDlgIndirect( 0, Replicate( Chr( 255 ), 40 ), 0 )
   ? "dead handle", SetWindowText( 123456, "x" ), "[" + GetWindowText( "abc" ) + "]", SendMessage( NIL, 1, 2, 3 )
   ? "subclass", XChangeProc( 999999, 1 ), RestProc( 999999, 5 ), EndDialog( 999999, 1 ), IsWindow( .T. )
   ? "window table", OWndFromHwnd( "x" ), OWndFromHwnd( 999999 ), _GxLinkSlot( 5 ), _GxUnlinkSlot( NIL )
   ? "templates", Len( CDlg2Chr() ), Len( CCtrl2Chr() ), Len( CDlg2Chr( "a", {}, .T. ) )
   ? "painting", MeterPaint( 0, 0 ), BeginPaint( 999999 ), EndPaint( 999999 ), FillRect( 0, "x", 0 )
   ? "clipboard", SetClipboardData( 2, "not a bitmap" ), GetClpData( 14 ), GetClpData( "x" ), CloseClipboard()
   ? "system", WinExec( 5 ), RegOpenKey( "x", 5, NIL ), RegQueryValue( 0, "x" ), LoadBitmap( 0, 5 )
   oDlg := TDialog():New( 1, 1, 5, 20, "Bad template" )
   oDlg:cResData := Replicate( Chr( 255 ), 40 )
   TRY
      oDlg:Activate()
   CATCH e
      ? "error", e:SubCode, e:Description, StrTran( e:Operation, Chr( 13 ) + Chr( 10 ), "|" )
   END
   TRY
      _GxGenError( "a" )
   CATCH e
      ? "error", e:Description, e:Operation
   END
RETURN
