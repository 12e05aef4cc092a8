// One-row scrolls draw what a full repaint draws: both grids (each on its own view of the table)
// are scrolled up and down by rows (the first with its columns ending left of the window's
// edge, where only the columns scroll), grabbed, then repainted whole with the focus where it
// was and grabbed again; both grabs equal the same reference image.
#include "grids.ch"

PROCEDURE Main()
   LOCAL oDlg, oBrw, oBrw2, oFont
   OpenProducts( "PRODUCT.DBF" )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   oBrw2 := FieldGrid( oDlg )
   oBrw2:cAlias := "CHECK"
   TButton():ReDefine( 4, {|| oBrw:Refresh(), oBrw2:Refresh(), SetFocus( oBrw2:hWnd ), ;
                              QOut( "rows", oBrw:nRowSel, oBrw2:nRowSel, "keys", PRODUCT->( OrdKeyNo() ), ;
                                    CHECK->( OrdKeyNo() ) ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T., , , {|| HideLastColumns( oBrw ), .T. } )
   oFont:End()
   CLOSE ALL
RETURN

STATIC PROCEDURE HideLastColumns( oBrw )
   oBrw:aCols[ 4 ]:lHide := .T.
   oBrw:aCols[ 6 ]:lHide := .T.
   oBrw:Refresh()
RETURN

#include "grids_setup.ch"
