// Footers: the first grid with a footer line — fixed texts, a count of the records given by
// bFooter and evaluated at every paint, alignments as the data — rendered offscreen; a press on
// a footer calls the column's bLClickFooter with the column, one on a data row does not.
#include "grids.ch"

PROCEDURE Main()
   LOCAL oDlg, oBrw, oFont
   OpenProducts( "PRODUCT.DBF" )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   oBrw:lFooter := .T.
   oBrw:aCols[ 1 ]:cFooter := "Sum"
   oBrw:aCols[ 2 ]:bFooter := {| oCol | LTrim( Str( PRODUCT->( OrdKeyCount() ) ) ) + " " + oCol:cHeader }
   oBrw:aCols[ 4 ]:cFooter := "mid"
   oBrw:aCols[ 4 ]:nFootStrAlign := 2
   oBrw:aCols[ 5 ]:bFooter := {|| 12345.5 }
   oBrw:aCols[ 5 ]:nFootStrAlign := 1
   AEval( oBrw:aCols, {| o | o:bLClickFooter := {| nRow, nCol, nFlags, oC | QOut( "footer click", oC:cHeader ) } } )
   FieldGrid( oDlg )
   TButton():ReDefine( 4, {|| Probe( oBrw ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T. )
   oFont:End()
   CLOSE ALL
RETURN

// The measures, then presses on the footers of the first two columns and on a data row.
STATIC PROCEDURE Probe( oBrw )
   LOCAL nFooter := oBrw:DataBottom() + Int( oBrw:FooterHeight() / 2 )
   QOut( "footer height", oBrw:nFooterHeight, "rows", oBrw:RowCount(), "data bottom", oBrw:DataBottom() )
   oBrw:LButtonDown( nFooter, oBrw:ColLeft( 1 ) + 5, 0 )
   oBrw:LButtonDown( nFooter, oBrw:ColLeft( 2 ) + 5, 0 )
   oBrw:LButtonDown( oBrw:RowTop( 2 ) + 3, oBrw:ColLeft( 2 ) + 5, 0 )
   QOut( "row after the presses", oBrw:nRowSel )
RETURN

#include "grids_setup.ch"
