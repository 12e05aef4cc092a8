// The main dialog "SAMPLES": the column grid over PRODUCT with its sortable headers, the grid of
// every field, the sort buttons, the spare buttons, the workbook button and the close button.
#include "xlforms.ch"

MEMVAR NTEST

#define DIALOG_TITLE "EXCEl-Formulare mit Zellwerk2 erzeugen ( Update : 4 )"

PROCEDURE MainDialog( oFont )
   LOCAL oDlg, oBrw

   oDlg := TDialog():New( , , , , DIALOG_TITLE, "SAMPLES", , , , , , , , .F. )
   DbSelectArea( 1 )
   DbSetOrder( 1 )
   oBrw := ColumnGrid( oDlg, oFont )
   DbSelectArea( 2 )
   DbSetOrder( 1 )
   FieldGrid( oDlg )
   DbSelectArea( 1 )
   DbSetOrder( 1 )
   DefineButtons( oDlg, oBrw )
   oDlg:Activate( , , , .T., , .T., ;
      {|| DbSelectArea( 1 ), DbSetOrder( 1 ), INDEX_SHOW( oBrw, "ID-Nr.", "ID-Nr.", 1 ) } )
RETURN

// The first grid: six chosen columns of work area 1; a click on a header sorts by that column
// when it has an order.
STATIC FUNCTION ColumnGrid( oDlg, oFont )
   LOCAL oBrw := TXBrowse():New( oDlg )
   LOCAL bGreen := {|| { CLR_WHITE, CLR_GREEN } }
   LOCAL oCol

   oBrw:nMarqueeStyle := 3
   oBrw:nColDividerStyle := 1
   oBrw:nRowDividerStyle := 1
   oBrw:lColDividerComplete := .T.
   oBrw:nHeaderLines := 1
   oBrw:nDataLines := 1
   oBrw:nFreeze := 2
   AddColumn( oBrw, "ID-Nr.", {|| Str( PRODUCT->ID_NR ) }, oFont, bGreen, NIL, 50 )
   AddColumn( oBrw, "Kunde", {|| PRODUCT->CUSTOMER }, oFont, bGreen, NIL, 120 )
   AddColumn( oBrw, "Produkt", {|| PRODUCT->PRODUCT }, oFont, bGreen, NIL, 120 )
   AddColumn( oBrw, "Rechnung", {|| PRODUCT->INVOICE }, oFont, NIL, 2, 70 )
   AddColumn( oBrw, "Betrag", {|| Str( PRODUCT->VALUE ) }, oFont, NIL, 1, 70 )
   AddColumn( oBrw, "Date", {|| DToS( PRODUCT->INV_DATE ) }, oFont, NIL, NIL, 90 )
   // Every column of the grid gets the handler, whatever number of fields the table has.
   FOR EACH oCol IN oBrw:aCols
      oCol:bLClickHeader := {|nRow, nCol, nFlags, oClicked| ;
         INDEX_SHOW( oBrw, oClicked:cHeader, "ID-Nr.", 1, "Kunde", 2, "Produkt", 3, ;
                     "", 0, "", 0, "", 0, "", 0 ) }
   NEXT
   oBrw:CreateFromResource( 110 )
RETURN oBrw

STATIC PROCEDURE AddColumn( oBrw, cHeader, bData, oFont, bColors, nAlign, nWidth )
   LOCAL oCol := oBrw:AddCol()

   oCol:cHeader := cHeader
   oCol:nHeadStrAlign := 2
   oCol:bStrData := bData
   oCol:oDataFont := oFont
   IF bColors != NIL
      oCol:bClrStd := bColors
   ENDIF
   IF nAlign != NIL
      oCol:nDataStrAlign := nAlign
   ENDIF
   oCol:nWidth := nWidth
RETURN

// The second grid: no columns of its own, so it shows every field of the area current when
// the dialog starts (work area 1); a new row shows its number and a customer of PRODUCT1.
STATIC FUNCTION FieldGrid( oDlg )
   LOCAL oBrw2 := TXBrowse():New( oDlg )

   oBrw2:nMarqueeStyle := 4
   oBrw2:nColDividerStyle := 1
   oBrw2:nRowDividerStyle := 1
   oBrw2:lColDividerComplete := .T.
   oBrw2:nHeaderLines := 1
   oBrw2:nDataLines := 1
   oBrw2:bClrStd := {|| { CLR_NAVY, CLR_WHITE } }
   oBrw2:bChange := {|| MsgAlert( oBrw2:nRowSel, "Zeile" ), ;
                        MsgAlert( OemToAnsi( PRODUCT1->CUSTOMER ), "Kunde" ) }
   oBrw2:CreateFromResource( 120 )
RETURN oBrw2

STATIC PROCEDURE DefineButtons( oDlg, oBrw )
   LOCAL bSpare := {|| MsgAlert( "Reserve f" + UE_SMALL + "r weitere Beispiele", "Ungenutzt" ) }

   TButton():ReDefine( 1, {|| SortBy( oBrw, 1 ) }, oDlg )
   TButton():ReDefine( 2, {|| SortBy( oBrw, 2 ) }, oDlg )
   TButton():ReDefine( 3, {|| SortBy( oBrw, 3 ) }, oDlg )
   TButton():ReDefine( 4, bSpare, oDlg )
   TButton():ReDefine( 5, bSpare, oDlg )
   TButton():ReDefine( 20, {|| MakeWorkbook( oBrw ) }, oDlg )
   TButton():ReDefine( 10, {|| oDlg:End() }, oDlg )
RETURN

// A sort button: order n of work area 1 from its top; the workbook button follows it.
STATIC PROCEDURE SortBy( oBrw, nOrder )
   DbSelectArea( 1 )
   DbSetOrder( nOrder )
   DbGoTop()
   oBrw:Refresh()
   NTEST := nOrder
RETURN

// The workbook button: the export chosen by the last sort button, in that button's order.
STATIC PROCEDURE MakeWorkbook( oBrw )
   IF NTEST == 1
      DbSelectArea( 1 )
      DbSetOrder( 1 )
      EXCEL_1()
   ENDIF
   IF NTEST == 2
      DbSelectArea( 1 )
      DbSetOrder( 2 )
      EXCEL_2()
   ENDIF
   IF NTEST == 3
      DbSelectArea( 1 )
      DbSetOrder( 3 )
      EXCEL_3()
   ENDIF
   DbSelectArea( 1 )
   DbGoTop()
   oBrw:Refresh()
RETURN

// A click on a header: the order paired with that header becomes active and its header red;
// a header without an order leaves the order alone and says so. Pairs of header and order
// follow the grid and the clicked header; missing pairs are NIL.
FUNCTION INDEX_SHOW( oBrw, cHeader, cHead1, nOrder1, cHead2, nOrder2, cHead3, nOrder3, ;
                     cHead4, nOrder4, cHead5, nOrder5, cHead6, nOrder6, cHead7, nOrder7 )
   LOCAL aPairs := { { cHead1, nOrder1 }, { cHead2, nOrder2 }, { cHead3, nOrder3 }, ;
                     { cHead4, nOrder4 }, { cHead5, nOrder5 }, { cHead6, nOrder6 }, ;
                     { cHead7, nOrder7 } }
   LOCAL nIndex := 0, lFound := .F.
   LOCAL oCol, aPair

   FOR EACH oCol IN oBrw:aCols
      oCol:bClrHeader := {|| { CLR_BLACK, CLR_WHITE } }
      FOR EACH aPair IN aPairs
         IF SameHeader( cHeader, aPair[ 1 ] )
            nIndex := aPair[ 2 ]
            lFound := .T.
         ENDIF
      NEXT
      IF SameHeader( oCol:cHeader, cHeader )
         oCol:bClrHeader := {|| { CLR_RED, CLR_WHITE } }
      ENDIF
   NEXT
   IF lFound
      DbSetOrder( nIndex )
      DbGoTop()
      oBrw:nRowSel := 1
      oBrw:Refresh()
   ELSE
      FOR EACH oCol IN oBrw:aCols
         oCol:bClrHeader := {|| { CLR_BLACK, CLR_WHITE } }
      NEXT
      MsgAlert( "Kein Index f" + UE_SMALL + "r die Spalte : " + HeaderText( cHeader ) + ;
                " vorhanden !", "ACHTUNG" )
   ENDIF
RETURN NIL

// Two headers are the same when both are texts equal but for trailing blanks.
STATIC FUNCTION SameHeader( xOne, xTwo )
RETURN ValType( xOne ) == "C" .AND. ValType( xTwo ) == "C" .AND. ;
       RTrim( xOne ) == RTrim( xTwo )

STATIC FUNCTION HeaderText( xHeader )
RETURN IIf( ValType( xHeader ) == "C", xHeader, "" )
