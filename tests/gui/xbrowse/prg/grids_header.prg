// Header clicks: a click on a title reaches bLClickHeader with row, column, flags and the column;
// a press on a title released below the header reaches nothing; a press dragged onto another
// column swaps the two; a press on a column's right edge resizes it.
#include "grids.ch"

#define WM_LBUTTONUP    514
#define WM_MOUSEMOVE    512

PROCEDURE Main()
   LOCAL oDlg, oBrw, oBrw2, oFont
   OpenProducts( "PRODUCT.DBF" )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   oBrw2 := FieldGrid( oDlg )
   TButton():ReDefine( 4, {|| ReleaseOutside( oBrw ), DragOnto( oBrw ), Widen( oBrw ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T. )
   oFont:End()
   CLOSE ALL
RETURN

// Press on the third title, release 40 pixels below the header: no click.
STATIC PROCEDURE ReleaseOutside( oBrw )
   LOCAL aAt := oBrw:UiHeaderPoint( 3 )
   SendMessage( oBrw:hWnd, WM_LBUTTONDOWN, 1, aAt[ 2 ] * 65536 + aAt[ 1 ] )
   ? "captured", oBrw:nCaptured, GetCapture() == oBrw:hWnd
   SendMessage( oBrw:hWnd, WM_LBUTTONUP, 0, ( oBrw:nHeaderHeight + 40 ) * 65536 + aAt[ 1 ] )
   ? "released below the header", oBrw:nCaptured, GetCapture() == oBrw:hWnd
RETURN

// Press on the right edge of the first column, move 30 pixels right, release: 30 pixels wider.
STATIC PROCEDURE Widen( oBrw )
   LOCAL oCol := oBrw:ColAtPos( 1 ), nEdge := oBrw:ColLeft( 1 ) + oBrw:ColAtPos( 1 ):nWidth, nWas := oCol:nWidth
   SendMessage( oBrw:hWnd, WM_LBUTTONDOWN, 1, 5 * 65536 + nEdge )
   SendMessage( oBrw:hWnd, WM_MOUSEMOVE, 1, 5 * 65536 + nEdge + 30 )
   SendMessage( oBrw:hWnd, WM_LBUTTONUP, 0, 5 * 65536 + nEdge + 30 )
   ? "resized", oCol:cHeader, "from", nWas, "to", oCol:nWidth, "capture released", GetCapture() != oBrw:hWnd
RETURN

// Press on the first title, move and release over the second: the two columns trade places.
STATIC PROCEDURE DragOnto( oBrw )
   LOCAL aFrom := oBrw:UiHeaderPoint( 1 ), aTo := oBrw:UiHeaderPoint( 2 )
   SendMessage( oBrw:hWnd, WM_LBUTTONDOWN, 1, aFrom[ 2 ] * 65536 + aFrom[ 1 ] )
   SendMessage( oBrw:hWnd, WM_MOUSEMOVE, 1, aTo[ 2 ] * 65536 + aTo[ 1 ] )
   SendMessage( oBrw:hWnd, WM_LBUTTONUP, 0, aTo[ 2 ] * 65536 + aTo[ 1 ] )
   ? "after the drag", oBrw:aCols[ 1 ]:cHeader, oBrw:aCols[ 2 ]:cHeader, oBrw:ColAtPos( 1 ):cHeader
RETURN

#include "grids_setup.ch"
