// The Ctrl key combinations of the grid, typed through the UI script with the Ctrl key held:
// Ctrl+Right and Ctrl+Left to the last and first column, Ctrl+Page Down and Ctrl+Page Up to the
// last and first record, Ctrl+C and Ctrl+R a page down and up; the same keys without Ctrl
// afterwards show that the Ctrl key came up again.
#include "grids.ch"

PROCEDURE Main()
   LOCAL oDlg, oBrw, oFont
   OpenProducts( "PRODUCT.DBF" )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   oBrw:bChange := {| o | ShowCell( "moved", o ) }
   FieldGrid( oDlg )
   TButton():ReDefine( 4, {|| ShowCell( "probe", oBrw ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T. )
   oFont:End()
   CLOSE ALL
RETURN

// The grid's row and column, its first scrolled column, and the work area's record.
STATIC PROCEDURE ShowCell( cWhat, oBrw )
   QOut( cWhat, "row", oBrw:nRowSel, "col", oBrw:nColSel, "offset", oBrw:nColOffset, ;
         "key", PRODUCT->( OrdKeyNo() ), PointerCheck() )
RETURN

#include "grids_setup.ch"
