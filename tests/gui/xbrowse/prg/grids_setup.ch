// Shared by the grid tests, included after their Main: the sample table opened with the
// application's three tags, the application's two grid set-ups on the test dialog, and a check
// of the record pointer.

// Opens cFile as PRODUCT (work area 1) with tags by ID number, by customer and invoice, by
// product, and a second view of it as CHECK (work area 2) for independent checks.
PROCEDURE OpenProducts( cFile )
   RddSetDefault( "DBFCDX" )
   USE ( cFile ) ALIAS PRODUCT NEW SHARED
   INDEX ON PRODUCT->ID_NR TAG EXCEL1
   INDEX ON PRODUCT->CUSTOMER + PRODUCT->INVOICE TAG EXCEL2
   INDEX ON PRODUCT->PRODUCT TAG EXCEL3
   USE ( cFile ) ALIAS CHECK NEW SHARED
   DbSelectArea( 1 )
   DbSetOrder( 1 )
   DbGoTop()
RETURN

// The first grid (control nId, default 110): six styled columns, two of them frozen, header
// clicks reported.
FUNCTION ColumnGrid( oDlg, oFont, nId )
   LOCAL oBrw := TXBrowse():New( oDlg ), aHeads := { "ID-Nr.", "Kunde", "Produkt", "Rechnung", "Betrag", "Date" }
   LOCAL aData := { {|| Str( PRODUCT->ID_NR ) }, {|| PRODUCT->CUSTOMER }, {|| PRODUCT->PRODUCT }, ;
                    {|| PRODUCT->INVOICE }, {|| Str( PRODUCT->VALUE ) }, {|| DToS( PRODUCT->INV_DATE ) } }
   LOCAL aWidths := { 50, 120, 120, 70, 70, 90 }, aAlign := { 0, 0, 0, 2, 1, 0 }, n, oCol
   oBrw:nMarqueeStyle := 3
   oBrw:nColDividerStyle := 1
   oBrw:nRowDividerStyle := 1
   oBrw:lColDividerComplete := .T.
   oBrw:nHeaderLines := 1
   oBrw:nDataLines := 1
   oBrw:nFreeze := 2
   FOR n := 1 TO 6
      oCol := oBrw:AddCol()
      oCol:cHeader := aHeads[ n ]
      oCol:nHeadStrAlign := 2
      oCol:bStrData := aData[ n ]
      oCol:oDataFont := oFont
      IF n <= 3
         oCol:bClrStd := {|| { CLR_WHITE, CLR_GREEN } }
      ENDIF
      oCol:nDataStrAlign := aAlign[ n ]
      oCol:nWidth := aWidths[ n ]
      oCol:bLClickHeader := {| nRow, nCol, nFlags, oC | QOut( "header click", nRow, nCol, nFlags, oC:cHeader ) }
   NEXT
   oBrw:CreateFromResource( IIf( nId == NIL, 110, nId ) )
RETURN oBrw

// The second grid: no columns of its own, so it shows every field of the current work area.
FUNCTION FieldGrid( oDlg )
   LOCAL oBrw := TXBrowse():New( oDlg )
   oBrw:nMarqueeStyle := 4
   oBrw:nColDividerStyle := 1
   oBrw:nRowDividerStyle := 1
   oBrw:lColDividerComplete := .T.
   oBrw:nHeaderLines := 1
   oBrw:nDataLines := 1
   oBrw:bClrStd := {|| { 8388608, CLR_WHITE } }
   oBrw:CreateFromResource( 120 )
RETURN oBrw

// "ok" when work area 1 stands on the record with logical key number nKey of its order, as
// counted by walking the second view of the table in the same order.
FUNCTION PointerCheck()
   LOCAL nKey := PRODUCT->( OrdKeyNo() ), nRec := PRODUCT->( RecNo() ), nOrder := PRODUCT->( IndexOrd() ), nWalked
   CHECK->( OrdSetFocus( nOrder ) )
   CHECK->( DbGoTop() )
   CHECK->( DbSkip( nKey - 1 ) )
   nWalked := CHECK->( RecNo() )
RETURN IIf( nWalked == nRec, "ok", "WRONG: key " + LTrim( Str( nKey ) ) + " is record " + LTrim( Str( nWalked ) ) )

// One line about the grid's row and the work area's record.
PROCEDURE ShowPosition( cWhat, oBrw )
   QOut( cWhat, "order", PRODUCT->( IndexOrd() ), "row", oBrw:nRowSel, "key", PRODUCT->( OrdKeyNo() ), ;
         "rec", PRODUCT->( RecNo() ), PointerCheck() )
RETURN
