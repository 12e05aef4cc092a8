// A row height changed without Refresh: the next steps use the new rows (the mark kept within
// the rows that fit), and what one-row scrolls leave equals a full repaint after Refresh (both
// grabs equal one reference image).
#include "grids.ch"

PROCEDURE Main()
   LOCAL oDlg, oBrw, oFont, nPress := 0
   OpenProducts( "PRODUCT.DBF" )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   TButton():ReDefine( 4, {|| Probe( oBrw, ++nPress ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T. )
   oFont:End()
   CLOSE ALL
RETURN

// First press: taller rows, set directly; second press: Refresh.
STATIC PROCEDURE Probe( oBrw, nPress )
   IF nPress == 1
      QOut( "rows", oBrw:RowCount(), "row height", oBrw:nRowHeight, "mark", oBrw:nRowSel )
      oBrw:nRowHeight := 31
      oBrw:GoDown()
      QOut( "rows", oBrw:RowCount(), "row height", oBrw:RowPlaces()[ 2 ], "mark", oBrw:nRowSel )
   ELSE
      oBrw:Refresh()
      SetFocus( oBrw:hWnd )
   ENDIF
   ShowPosition( "after", oBrw )
RETURN

#include "grids_setup.ch"
