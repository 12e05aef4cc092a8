// The default incremental search of a grid over a work area: typed characters look for the
// first key of the current order that begins with them (Backspace takes the last one back), a
// text no key begins with leaves the record where it was, and a numeric order searches by value.
#include "grids.ch"

PROCEDURE Main()
   LOCAL oDlg, oBrw, oFont
   OpenProducts( "PRODUCT.DBF" )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   oBrw:bChange := {| o | ShowFound( "moved", o ) }
   FieldGrid( oDlg )
   TButton():ReDefine( 1, {|| ChooseOrder( oBrw, 1 ) }, oDlg )
   TButton():ReDefine( 2, {|| ChooseOrder( oBrw, 2 ) }, oDlg )
   TButton():ReDefine( 4, {|| ShowFound( "probe", oBrw ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T. )
   oFont:End()
   CLOSE ALL
RETURN

STATIC PROCEDURE ChooseOrder( oBrw, nOrder )
   DbSelectArea( 1 )
   DbSetOrder( nOrder )
   DbGoTop()
   oBrw:nRowSel := 1
   oBrw:Refresh()
RETURN

// The search text, the grid's row and the record with its customer and number.
STATIC PROCEDURE ShowFound( cWhat, oBrw )
   QOut( cWhat, '"' + oBrw:cSeek + '"', "row", oBrw:nRowSel, "key", PRODUCT->( OrdKeyNo() ), ;
         Left( PRODUCT->CUSTOMER, 14 ), PRODUCT->ID_NR, PointerCheck() )
RETURN

#include "grids_setup.ch"
