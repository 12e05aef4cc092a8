// The application's two grid set-ups over the sample table, rendered offscreen: at the start,
// after one-row scrolls down and up and after the columns scrolled right past the frozen ones.
#include "grids.ch"

PROCEDURE Main()
   LOCAL oDlg, oBrw, oBrw2, oFont
   OpenProducts( "PRODUCT.DBF" )
   oFont := TFont():New( "Arial", 0, -14 )
   oDlg := TDialog():New( , , , , "Grid test", "XBRWTEST" )
   oBrw := ColumnGrid( oDlg, oFont )
   oBrw2 := FieldGrid( oDlg )
   TButton():ReDefine( 4, {|| QOut( "rows", oBrw:nDataRows, oBrw2:nDataRows, "row heights", oBrw:nRowHeight, ;
                                    oBrw2:nRowHeight, "header", oBrw:nHeaderHeight ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
   oDlg:Activate( , , , .T., , , {|| oBrw:aCols[ 1 ]:bClrHeader := {|| { 255, CLR_WHITE } }, .T. } )
   oFont:End()
   CLOSE ALL
RETURN

#include "grids_setup.ch"
