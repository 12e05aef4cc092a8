// A column's text block, colour block and data font swapped without a Refresh: the next
// one-row moves paint with the new ones (the grid's cell layout follows the column).
#include "grids.ch"

STATIC s_nTexts := 0, s_nColors := 0

PROCEDURE Main()
   LOCAL oDlg, oBrw, oFont, oBig
   OpenProducts( "PRODUCT.DBF" )
   oFont := TFont():New( "Arial", 0, -14 )
   oBig := TFont():New( "Arial", 0, -18 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   TButton():ReDefine( 1, {|| Swap( oBrw, oBig ) }, oDlg )
   TButton():ReDefine( 4, {|| QOut( "new text block", IIf( s_nTexts > 0, "used", "NOT USED" ), ;
                                    "new colour block", IIf( s_nColors > 0, "used", "NOT USED" ), ;
                                    "font", IIf( oBrw:aLayout[ 2 ][ 13 ] == oBig, "new", "OLD" ) ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T. )
   oBig:End()
   oFont:End()
   CLOSE ALL
RETURN

STATIC PROCEDURE Swap( oBrw, oBig )
   oBrw:aCols[ 2 ]:bStrData := {|| s_nTexts++, "swapped" }
   oBrw:aCols[ 2 ]:bClrStd := {|| s_nColors++, { 0, CLR_WHITE } }
   oBrw:aCols[ 2 ]:oDataFont := oBig
RETURN

#include "grids_setup.ch"
