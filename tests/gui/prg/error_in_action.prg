// A runtime error in a button's action with no handler of the program's own: the default error
// system reports it and the program ends with exit code 1, modal dialog and all.
PROCEDURE Main()
   LOCAL oDlg := TDialog():New( 2, 2, 8, 30, "Error test" )
   TButton():New( 1, 1, "&Fail", oDlg, {|| QOut( "about to fail" ), 1 + "a" }, 40, 14 )
   oDlg:Activate()
   ? "not reached"
RETURN
