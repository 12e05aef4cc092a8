// A dialog whose button opens a table that is not there yet, run with the application's error
// handler: the error dialog's "&neuer Versuch" while the dialog's loop runs tries the open once
// more, and the program goes on when the table has come meanwhile.
#include "xlforms.ch"

PROCEDURE Main()
   LOCAL oDlg
   oDlg := TDialog():New( 5, 5, 13, 45, "Probe" )
   TButton():New( 1, 2, "&Oeffnen", oDlg, ;
                  {|| DbUseArea( .T., "DBFCDX", "LATE.DBF", "LATE", .T. ), ;
                      OutStd( "opened " + Alias() + " " + LTrim( Str( LastRec() ) ) + Chr( 10 ) ) }, 40, 12 )
   TButton():New( 3, 2, "&Ende", oDlg, {|| oDlg:End() }, 40, 12 )
   oDlg:Activate( , , , .T. )
   DbCloseAll()
RETURN
