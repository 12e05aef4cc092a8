// A dialog built in memory with two buttons: the first counts its clicks, the second ends the
// dialog with result 7. A UI script clicks, presses and closes it.
PROCEDURE Main()
   LOCAL oDlg, nClicks := 0
   oDlg := TDialog():New( 2, 2, 12, 40, "Buttons test" )
   TButton():New( 1, 2, "&Count", oDlg, {|| nClicks++, QOut( "count", nClicks ) }, 60, 14 )
   TButton():New( 1, 20, "&Finish", oDlg, {|| oDlg:End( 7 ) }, 60, 14 )
   oDlg:Activate( , , , .T., , , {|| QOut( "init", Len( oDlg:aControls ) ), .T. } )
   ? "result", oDlg:nResult, "clicks", nClicks
RETURN
