// Escape ends a dialog with result 2, unless its valid block says no; a redefined IDOK-like
// button in code runs its action instead of ending the dialog.
PROCEDURE Main()
   LOCAL oDlg, lAllow := .F., nTries := 0
   oDlg := TDialog():New( 2, 2, 10, 40, "Escape test" )
   TButton():New( 1, 2, "&Allow", oDlg, {|| lAllow := .T., QOut( "allowed" ) }, 60, 14 )
   oDlg:Activate( , , , .T., {|| nTries++, lAllow } )
   ? "result", oDlg:nResult, "valid asked", nTries
RETURN
