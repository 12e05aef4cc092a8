// Edge cases of the grid: the current row after a refresh at the first record, the mouse wheel,
// a table without records, a work area closed under the grid, records appended by another
// handle, row heights from the divider style, default column widths.
#include "grids.ch"

#define WM_MOUSEWHEEL 522

PROCEDURE Main()
   LOCAL oDlg, oBrw, oBrw2, oFont
   OpenProducts( "PRODUCT.DBF" )
   DbCreate( "EMPTY.DBF", PRODUCT->( DbStruct() ) )
   USE EMPTY.DBF ALIAS EMPTY NEW SHARED
   DbSelectArea( 1 )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   oBrw2 := FieldGrid( oDlg )
   oBrw2:cAlias := "EMPTY"
   TButton():ReDefine( 4, {|| Checks( oBrw, oBrw2, oFont ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T. )
   oFont:End()
   CLOSE ALL
RETURN

STATIC PROCEDURE Checks( oBrw, oBrw2, oFont )
   LOCAL aRange
   // a refresh with the pointer on the first record and row 5 selected
   oBrw:nRowSel := 5
   PRODUCT->( DbGoTop() )
   oBrw:Refresh()
   UpdateWindow( oBrw:hWnd )
   ? "refresh at the top: row", oBrw:nRowSel, "rows", oBrw:nDataRows, "id", PRODUCT->ID_NR, PointerCheck()

   // the mouse wheel: a notch towards the user moves one row down, away one row up
   SendMessage( oBrw:hWnd, WM_MOUSEWHEEL, ( 65536 - 120 ) * 65536, 0 )
   SendMessage( oBrw:hWnd, WM_MOUSEWHEEL, ( 65536 - 120 ) * 65536, 0 )
   SendMessage( oBrw:hWnd, WM_MOUSEWHEEL, 120 * 65536, 0 )
   ? "wheel down, down, up: row", oBrw:nRowSel, "key", PRODUCT->( OrdKeyNo() ), PointerCheck()

   // a table without records: headers only, navigation does nothing
   oBrw2:GoDown()
   oBrw2:PageDown()
   oBrw2:GoBottom()
   oBrw2:GoUp()
   ? "empty table: keys", oBrw2:nLen, "rows", oBrw2:nDataRows, "row", oBrw2:nRowSel, ;
     "cell point", oBrw2:UiCellPoint( 1, 1 ), "header point", ValType( oBrw2:UiHeaderPoint( 1 ) ), ;
     "columns", Len( oBrw2:aCols )

   // another handle appends a record; the grid reaches it
   CHECK->( DbAppend() )
   CHECK->ID_NR := 99999999
   CHECK->CUSTOMER := "Appended elsewhere"
   CHECK->( DbCommit() )
   oBrw:GoBottom()
   UpdateWindow( oBrw:hWnd )
   ? "after an append elsewhere: keys", oBrw:nLen, "row", oBrw:nRowSel, PointerCheck()
   oBrw:GoDown()
   oBrw:PageDown()
   ? "past the end: row", oBrw:nRowSel, "key", PRODUCT->( OrdKeyNo() ), PointerCheck()

   // the work area closed under the grid
   EMPTY->( DbCloseArea() )
   oBrw2:Refresh()
   UpdateWindow( oBrw2:hWnd )
   oBrw2:GoDown()
   oBrw2:GoTop()
   ? "closed area: keys", oBrw2:nLen, "rows", oBrw2:nDataRows

   // row heights from the font and the divider style; default widths
   ? "row height - font height:", oBrw:nRowHeight - XBrwTextSize( oBrw:hWnd, oFont:hFont, "B" )[ 2 ]
   oBrw:nRowHeight := NIL
   oBrw:nRowDividerStyle := 5
   oBrw:Adjust()
   ? "with style 5:", oBrw:nRowHeight - XBrwTextSize( oBrw:hWnd, oFont:hFont, "B" )[ 2 ]
   oBrw:nRowHeight := NIL
   oBrw:nRowDividerStyle := 0
   oBrw:Adjust()
   ? "without lines:", oBrw:nRowHeight - XBrwTextSize( oBrw:hWnd, oFont:hFont, "B" )[ 2 ]
   ? "default widths:"
   AEval( oBrw2:aCols, {| o | QQOut( "", o:cHeader, o:nWidth ) } )
   aRange := GetScrollRange( oBrw:hWnd, 1 )
   ? "scroll range", aRange[ 1 ], aRange[ 2 ], "position", GetScrollPos( oBrw:hWnd, 1 )
RETURN

#include "grids_setup.ch"
