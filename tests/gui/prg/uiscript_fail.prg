// A step that cannot be done ends the program with exit code 3 and says why, with its line.
PROCEDURE Main()
   LOCAL oDlg := TDialog():New( 2, 2, 8, 30, "Fail test" )
   TButton():New( 1, 1, "&Here", oDlg, {|| NIL }, 40, 14 )
   oDlg:Activate()
   ? "not reached"
RETURN
