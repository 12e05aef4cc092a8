// Keyboard and mouse navigation in both grids, in every order of the sample table: after each
// move the grid's row and the work area's record are printed and the record is checked against
// a walk of the same order.
#include "grids.ch"

PROCEDURE Main()
   LOCAL oDlg, oBrw, oBrw2, oFont
   OpenProducts( "PRODUCT.DBF" )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   oBrw:bChange := {| o | ShowPosition( "grid 1", o ) }
   oBrw2 := FieldGrid( oDlg )
   oBrw2:bChange := {| o | ShowPosition( "grid 2", o ) }
   TButton():ReDefine( 1, {|| ChooseOrder( oBrw, 1 ) }, oDlg )
   TButton():ReDefine( 2, {|| ChooseOrder( oBrw, 2 ) }, oDlg )
   TButton():ReDefine( 3, {|| ChooseOrder( oBrw, 3 ) }, oDlg )
   TButton():ReDefine( 4, {|| ShowPosition( "probe", oBrw ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T. )
   ? "columns of grid 2", Len( oBrw2:aCols ), oBrw2:aCols[ 1 ]:cHeader, ATail( oBrw2:aCols ):cHeader
   oFont:End()
   CLOSE ALL
RETURN

STATIC PROCEDURE ChooseOrder( oBrw, nOrder )
   DbSelectArea( 1 )
   DbSetOrder( nOrder )
   DbGoTop()
   oBrw:nRowSel := 1
   oBrw:Refresh()
   ShowPosition( "order chosen", oBrw )
RETURN

#include "grids_setup.ch"
