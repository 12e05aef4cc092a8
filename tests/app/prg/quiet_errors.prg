// The error handler's quiet cases, run by pvrun with the application's handler: a division by
// zero yields 0, a shared open refused because the table is open exclusively sets NETERR, and
// neither shows a dialog or writes a report.
PROCEDURE Main()
   LOCAL nZero := 0
   DbCreate( "quiet.dbf", { { "ID_NR", "N", 8, 0 } } )
   ? "division", 10 / nZero
   DbUseArea( .T., NIL, "quiet.dbf", "HOLDER", .F. )
   DbUseArea( .T., NIL, "quiet.dbf", "SECOND", .T. )
   ? "refused", NetErr(), Alias()   // the failed open leaves its area empty
   ? "reports", Len( Directory( "FEHLER_*.log" ) )
   DbCloseAll()
   FErase( "quiet.dbf" )
RETURN

#include "../../../app/errorsys.prg"
