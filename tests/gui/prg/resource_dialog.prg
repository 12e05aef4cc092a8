// A dialog from a resource: a redefined button with id 1 runs its own action and the dialog
// stays; another ends it. A missing id raises "Non defined Id" with the id in six places.
PROCEDURE Main()
   LOCAL oDlg, nOk := 0, e
   oDlg := TDialog():New( , , , , , "GUITEST" )
   TButton():ReDefine( 1, {|| nOk++, QOut( "own ok", nOk ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End( 10 ) }, oDlg )
   oDlg:Activate( , , , .T., , , {|| QOut( "caption", GetWindowText( oDlg:hWnd ) ), .T. } )
   ? "result", oDlg:nResult, "own ok", nOk
   oDlg := TDialog():New( , , , , , "GUITEST" )
   TButton():ReDefine( 99, {|| NIL }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End( 10 ) }, oDlg )
   TRY
      oDlg:Activate( , , , .T. )
   CATCH e
      ? "error", e:SubSystem, e:SubCode, e:Description, "[" + e:Operation + "]", e:Severity, e:CanDefault
   END
   TRY
      TButton():ReDefine( 10, {|| NIL }, oDlg )
   CATCH e
      ? "error", e:SubCode, e:Description
   END
   oDlg := TDialog():New( , , , , , "GUITEST" )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , , , , {|| Widths( oDlg, "plain" ), oDlg:End(), .T. } )
   oDlg := TDialog():New( , , , , , "GUITEST" )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , , , , {|| Widths( oDlg, "widened" ), oDlg:End(), .T. }, , , .T. )
   oDlg := TDialog():New( , , , , , "NOSUCH" )
   TRY
      oDlg:Activate()
   CATCH e
      ? "error", e:SubCode, e:Description, StrTran( e:Operation, Chr( 13 ) + Chr( 10 ), "|" )
   END
RETURN

// The widths of the dialog and of its button 10, and the button's left edge in the dialog.
STATIC FUNCTION Widths( oDlg, cWhat )
   LOCAL aDlg := GetWindowRect( oDlg:hWnd ), aBtn := GetWindowRect( GetDlgItem( oDlg:hWnd, 10 ) )
   ? cWhat, aDlg[ 4 ] - aDlg[ 2 ], aBtn[ 4 ] - aBtn[ 2 ], aBtn[ 3 ] - aBtn[ 1 ], aBtn[ 2 ] - ClientOrigin( oDlg:hWnd )[ 2 ]
RETURN NIL
