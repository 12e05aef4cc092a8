// The vertical scroll bar over a 1,000,000-record table in an index order: its range is cut to
// 10,000 and the position scaled; thumb positions are scaled back to key numbers.
#include "grids.ch"

#define WM_VSCROLL        277
#define SB_THUMBPOSITION  4

PROCEDURE Main()
   LOCAL oDlg, oBrw, oFont
   RddSetDefault( "DBFCDX" )
   USE BIG.DBF ALIAS PRODUCT NEW SHARED
   INDEX ON PRODUCT->ID_NR TAG EXCEL1
   DbGoTop()
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   oBrw:bChange := {| o | ShowScroll( "moved", o ) }
   TButton():ReDefine( 4, {|| Thumb( oBrw, 3 ), Thumb( oBrw, 1 ), Thumb( oBrw, 0 ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T., , , {|| ShowScroll( "start", oBrw ), .T. } )
   oFont:End()
   CLOSE ALL
RETURN

STATIC PROCEDURE Thumb( oBrw, nThumb )
   SendMessage( oBrw:hWnd, WM_VSCROLL, nThumb * 65536 + SB_THUMBPOSITION, 0 )
RETURN

STATIC PROCEDURE ShowScroll( cWhat, oBrw )
   LOCAL aRange := GetScrollRange( oBrw:hWnd, 1 )
   QOut( cWhat, "keys", oBrw:nLen, "key", PRODUCT->( OrdKeyNo() ), "range", aRange[ 1 ], aRange[ 2 ], ;
         "position", GetScrollPos( oBrw:hWnd, 1 ) )
RETURN

#include "grids_setup.ch"
