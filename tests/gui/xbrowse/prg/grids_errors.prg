// A column block that raises an error while the grid paints: every failure reaches the error
// block like any other runtime error (here one that substitutes a text), and the grid paints on.
#include "grids.ch"

PROCEDURE Main()
   LOCAL oDlg, oBrw, oFont
   OpenProducts( "PRODUCT.DBF" )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   FieldGrid( oDlg )
   TButton():ReDefine( 4, {|| FailingColumn( oBrw ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T. )
   ? "dialog closed"
   oFont:End()
   CLOSE ALL
RETURN

STATIC PROCEDURE FailingColumn( oBrw )
   LOCAL bOld, nErrors := 0, bData
   bOld := ErrorBlock( {| e | nErrors++, IIf( nErrors == 1, QOut( "error block:", e:description, e:operation ), NIL ), "?" } )
   bData := oBrw:aCols[ 4 ]:bStrData
   oBrw:aCols[ 4 ]:bStrData := {|| PRODUCT->INVOICE + 1 }
   oBrw:Refresh()
   UpdateWindow( oBrw:hWnd )
   ErrorBlock( bOld )
   oBrw:aCols[ 4 ]:bStrData := bData
   oBrw:Refresh()
   ? "failing cells", nErrors, "= rows", oBrw:nDataRows
RETURN

#include "grids_setup.ch"
