// A list box follows the keyboard: the selection moves, bSetGet takes the new text and the
// change block runs; a button's action runs once even when clicked during its own action.
PROCEDURE Main()
   LOCAL oDlg, cItem := "", nChanges := 0, oList, nRuns := 0
   oDlg := TDialog():New( 2, 2, 14, 50, "List test" )
   oList := TListBox():New( 1, 2, {| c | iif( c == NIL, cItem, cItem := c ) }, { "Red", "Green", "Blue" }, 100, 40, ;
                            {|| nChanges++, QOut( "changed to", cItem ) }, oDlg )
   TButton():New( 2, 23, "&Busy", oDlg, {|| nRuns++, SendMessage( GetFocus(), 2048, 0, 0 ) }, 40, 12 )
   oDlg:Activate( , , , .T., , , {|| QOut( "first selected", cItem ), SetFocus( oList:hWnd ), .F. } )
   ? "item", cItem, "changes", nChanges, "busy ran", nRuns
RETURN
