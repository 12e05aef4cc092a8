// A modeless dialog kept alive by the program's own loop of SYSREFRESH calls: its dialog keys
// (Tab, Space) work through the modeless list, and End closes it through WM_CLOSE.
PROCEDURE Main()
   LOCAL oDlg := TDialog():New( 2, 2, 10, 40, "Modeless keys" ), nLoops := 0
   TButton():New( 1, 1, "&First", oDlg, {|| QOut( "first" ) }, 40, 12 )
   TButton():New( 1, 10, "&Second", oDlg, {|| QOut( "second" ), oDlg:End( 5 ) }, 40, 12 )
   oDlg:Activate( , , , , , .F. )
   ? "registered", OWndFromHwnd( oDlg:hWnd ) == oDlg
   DO WHILE oDlg:hWnd != 0 .AND. IsWindow( oDlg:hWnd )
      SysRefresh()
      nLoops++
   ENDDO
   ? "closed with", oDlg:nResult, "looped", nLoops > 0, "can register", CanRegDialog()
RETURN
