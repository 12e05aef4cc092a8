// Grids over arrays: rows of three values (text, number, date) with a column per element made
// by SetArray, and rows of single texts; navigation keeps nArrayAt inside the array, an empty
// array shows no rows, and SetArray on a shown grid starts it afresh.
#include "grids.ch"

PROCEDURE Main()
   LOCAL oDlg, oBrw, oBrw2, oFont, aRows := {}, n
   FOR n := 1 TO 40
      AAdd( aRows, { "Row " + LTrim( Str( n ) ), n * 1.5, SToD( "20240101" ) + n } )
   NEXT
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := TXBrowse():New( oDlg )
   oBrw:nMarqueeStyle := 4
   oBrw:nColDividerStyle := 1
   oBrw:nRowDividerStyle := 1
   oBrw:SetArray( aRows )
   oBrw:bChange := {| o | ShowRow( "grid 1", o ) }
   oBrw:CreateFromResource( 110 )
   oBrw2 := TXBrowse():New( oDlg )
   oBrw2:SetArray( {} )
   oBrw2:bChange := {| o | ShowRow( "grid 2", o ) }
   oBrw2:CreateFromResource( 120 )
   TButton():ReDefine( 1, {|| oBrw2:SetArray( { "alpha", "beta", "gamma" } ), ShowRow( "grid 2 filled", oBrw2 ) }, oDlg )
   TButton():ReDefine( 4, {|| ShowRow( "probe 1", oBrw ), ShowRow( "probe 2", oBrw2 ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T. )
   ? "columns", Len( oBrw:aCols ), oBrw:aCols[ 3 ]:cHeader, Len( oBrw2:aCols )
   oFont:End()
RETURN

// The grid's row, the array row it stands on and that row's cells as the grid shows them.
STATIC PROCEDURE ShowRow( cWhat, oBrw )
   LOCAL cCells := ""
   AEval( oBrw:aCols, {| o | cCells += "|" + AllTrim( o:CellText() ) } )
   QOut( cWhat, "row", oBrw:nRowSel, "at", oBrw:nArrayAt, "of", oBrw:nLen, cCells )
RETURN

#include "grids_setup.ch"
