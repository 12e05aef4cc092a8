// A dialog with a text, a list box and buttons, grabbed by the UI script and compared with its
// reference image.
PROCEDURE Main()
   LOCAL oDlg, cItem := "Second"
   oDlg := TDialog():New( 2, 2, 14, 42, "Look test" )
   TSay():New( 0.5, 2, {|| "Choose an entry:" }, oDlg, , , , , , , , , 150, 14 )
   TListBox():New( 2, 2, {| c | iif( c == NIL, cItem, cItem := c ) }, { "First", "Second", "Third" }, 120, 60, , oDlg )
   TButton():New( 2, 26, "&OK", oDlg, {|| oDlg:End( 1 ) }, 60, 16 )
   TButton():New( 3.2, 26, "&Cancel", oDlg, {|| oDlg:End( 2 ) }, 60, 16 )
   oDlg:Activate( , , , .T. )
   ? "result", oDlg:nResult, "item", cItem
RETURN
