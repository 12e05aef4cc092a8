// Browse grid benchmark over BIG.DBF (made by mkproduct): a full repaint of 30 rows of six
// columns, 10,000 GoDown and 1,000 PageDown steps in an index order, and the time to show the
// application's two grids over the table once it is open. Times are processor seconds.
#include "grids.ch"

#define WM_PAINT_ROUNDS 200

PROCEDURE Main()
   LOCAL oDlg, oBrw, oFont, nStart
   nStart := CpuSeconds()
   OpenProducts( "BIG.DBF" )
   Report( "open and index " + LTrim( Str( PRODUCT->( LastRec() ) ) ) + " records (s)", CpuSeconds() - nStart )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid bench", "XBRWBENCH" )
   oBrw := ColumnGrid( oDlg, oFont, 130 )
   TButton():ReDefine( 4, {|| Measure( oBrw ), oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T., , , {|| FitRows( oBrw, 30 ), .T. } )
   ShowTwoGrids( oFont )
   oFont:End()
   CLOSE ALL
RETURN

// Makes the grid exactly nRows data rows high.
STATIC PROCEDURE FitRows( oBrw, nRows )
   LOCAL aRect := GetWindowRect( oBrw:hWnd )
   MoveWindow( oBrw:hWnd, 4, 4, aRect[ 4 ] - aRect[ 2 ], oBrw:HeaderHeight() + nRows * oBrw:nRowHeight + 2 + ;
               GetSysMetrics( 3 ), .T. )
RETURN

STATIC PROCEDURE Measure( oBrw )
   LOCAL n, nStart
   Report( "rows painted", oBrw:RowCount() )
   Report( "columns painted", oBrw:LastDisplayPos() )
   nStart := CpuSeconds()
   FOR n := 1 TO WM_PAINT_ROUNDS
      InvalidateRect( oBrw:hWnd, .F. )
      UpdateWindow( oBrw:hWnd )
   NEXT
   Report( "full repaint 30 x 6 (ms)", ( CpuSeconds() - nStart ) * 1000 / WM_PAINT_ROUNDS )
   nStart := CpuSeconds()
   FOR n := 1 TO 10000
      oBrw:GoDown()
   NEXT
   Report( "10,000 GoDown (s)", CpuSeconds() - nStart )
   Report( "  key after them", PRODUCT->( OrdKeyNo() ) )
   nStart := CpuSeconds()
   FOR n := 1 TO 1000
      oBrw:PageDown()
   NEXT
   Report( "1,000 PageDown (s)", CpuSeconds() - nStart )
   nStart := CpuSeconds()
   FOR n := 1 TO 100
      oBrw:PageDown()
      UpdateWindow( oBrw:hWnd )
   NEXT
   Report( "PageDown with its repaint (ms)", ( CpuSeconds() - nStart ) * 10 )
   Report( "  key after them", PRODUCT->( OrdKeyNo() ) )
RETURN

// The application's two grids over the open table: building and initialising the dialog, then
// painting both grids.
STATIC PROCEDURE ShowTwoGrids( oFont )
   LOCAL oDlg, oBrw, oBrw2, nStart, nInit
   DbSelectArea( 1 )
   DbSetOrder( 1 )
   DbGoTop()
   nStart := CpuSeconds()
   oDlg := TDialog():New( , , , , "Two grids", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   oBrw2 := FieldGrid( oDlg )
   TButton():ReDefine( 4, {|| ShowPainted( oDlg, oBrw, oBrw2, nInit ) }, oDlg )
   oDlg:Activate( , , , .T., , , {|| nInit := CpuSeconds() - nStart, .T. } )
RETURN

STATIC PROCEDURE ShowPainted( oDlg, oBrw, oBrw2, nInit )
   LOCAL nStart := CpuSeconds()
   InvalidateRect( oBrw:hWnd, .F. )
   InvalidateRect( oBrw2:hWnd, .F. )
   UpdateWindow( oBrw:hWnd )
   UpdateWindow( oBrw2:hWnd )
   Report( "two grids: dialog built and initialised (s)", nInit )
   Report( "two grids: both painted (s)", CpuSeconds() - nStart )
   Report( "two grids shown (s)", nInit + CpuSeconds() - nStart )
   oDlg:End()
RETURN

STATIC PROCEDURE Report( cWhat, nValue )
   OutStd( Chr( 10 ) + PadR( cWhat, 46 ) + Str( nValue, 12, 4 ) )
RETURN

#include "grids_setup.ch"
