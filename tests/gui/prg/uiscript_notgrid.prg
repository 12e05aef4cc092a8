// A grid step on a control that is not a grid fails with exit code 3.
PROCEDURE Main()
   LOCAL oDlg := TDialog():New( 2, 2, 8, 30, "Not a grid" )
   TButton():New( 1, 1, "&Plain", oDlg, {|| NIL }, 40, 14 )
   oDlg:Activate()
RETURN
