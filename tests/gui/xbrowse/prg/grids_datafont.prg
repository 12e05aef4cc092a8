// Data fonts changed without Refresh: the next step repaints the grid in the new fonts, so what
// the steps leave equals a full repaint after Refresh (both grabs equal one reference image).
#include "grids.ch"

PROCEDURE Main()
   LOCAL oDlg, oBrw, oFont, nPress := 0
   LOCAL oSmall := TFont():New( "Arial", 0, -9 ), oFixed := TFont():New( "Courier New", 0, -12 )
   OpenProducts( "PRODUCT.DBF" )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   TButton():ReDefine( 4, {|| Probe( oBrw, ++nPress, oSmall, oFixed ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T. )
   oFont:End()
   oSmall:End()
   oFixed:End()
   CLOSE ALL
RETURN

// First press: other data fonts for two columns, set directly; second press: Refresh.
STATIC PROCEDURE Probe( oBrw, nPress, oSmall, oFixed )
   IF nPress == 1
      QOut( "rows", oBrw:RowCount(), "row height", oBrw:nRowHeight, "mark", oBrw:nRowSel )
      oBrw:aCols[ 2 ]:oDataFont := oSmall
      oBrw:aCols[ 3 ]:oDataFont := oFixed
      oBrw:GoDown()
      QOut( "rows", oBrw:RowCount(), "row height", oBrw:RowPlaces()[ 2 ], "mark", oBrw:nRowSel )
   ELSE
      oBrw:Refresh()
      SetFocus( oBrw:hWnd )
   ENDIF
   ShowPosition( "after", oBrw )
RETURN

#include "grids_setup.ch"
