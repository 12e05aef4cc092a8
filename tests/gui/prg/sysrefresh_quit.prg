// SYSREFRESH meets WM_QUIT: it returns .F.; while a modal loop runs it posts the quit again, so
// that the loop ends too; outside any loop the quit is used up.
PROCEDURE Main()
   LOCAL oDlg
   PostQuitMessage( 5 )
   ? "outside a loop", SysRefresh(), SysRefresh(), LWRunning()
   oDlg := TDialog():New( 1, 1, 5, 30, "Quit test" )
   oDlg:Activate( , , , , , , {|| PostQuitMessage( 6 ), QOut( "inside a loop", SysRefresh(), LWRunning() ), .T. } )
   ? "dialog ended by the quit, result", oDlg:nResult, "quit still pending", ! SysRefresh()
RETURN
