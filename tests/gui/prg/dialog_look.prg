// A dialog with a text, a list box and buttons, grabbed by the UI script and compared with its
// reference image.
PROCEDURE Main()
   LOCAL oDlg, cItem := "Second"
   oDlg := TDialog():New( 2, 2, 14, 50, "Look test" )
   TSay():New( 0.5, 2, {|| "Choose an entry:" }, oDlg, , , , , , , , , 100, 8 )
   TListBox():New( 2, 2, {| c | iif( c == NIL, cItem, cItem := c ) }, { "First", "Second", "Third" }, 100, 40, , oDlg )
   TButton():New( 2, 23, "&OK", oDlg, {|| oDlg:End( 1 ) }, 40, 12 )
   TButton():New( 3, 23, "&Cancel", oDlg, {|| oDlg:End( 2 ) }, 40, 12 )
   oDlg:Activate( , , , .T. )
   ? "result", oDlg:nResult, "item", cItem
RETURN
