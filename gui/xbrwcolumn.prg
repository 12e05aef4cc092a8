// TXBrwColumn: one column of a browse grid — its title, the block giving the cell text, fonts,
// alignments, colour blocks and width — painting its header and data cells and answering
// header clicks.
#include "xbrowse.ch"

CLASS TXBrwColumn
   DATA oBrw, oDataFont, oHeaderFont, oFooterFont, oDragWnd, oBtnList, oBtnElip, oEditGet, oEditLbx
   DATA aBitmaps INIT {}
   DATA aEditListTxt, aEditListBound
   DATA bStrData, bBmpData
   DATA bEditValue, bEditValid, bEditBlock, bOnPostEdit
   DATA bLClickHeader, bRClickHeader, bLClickFooter, bRClickFooter, bLDClickData, bRClickData
   DATA bClrHeader, bClrFooter, bClrStd, bClrSel, bClrSelFocus, bClrEdit
   DATA cHeader INIT ""
   DATA cFooter INIT ""
   DATA cEditPicture
   DATA cOrder INIT ""
   DATA bFooter
   DATA nWidth
   DATA nDisplayCol INIT 0
   DATA nCreationOrder INIT 1
   DATA nResizeCol
   DATA nPos INIT 0
   DATA nDataStrAlign, nHeadStrAlign, nFootStrAlign
   DATA nDataBmpAlign, nHeadBmpAlign, nFootBmpAlign, nDataStyle, nHeadStyle, nFootStyle
   DATA nHeadBmpNo, nFootBmpNo, nEditType
   DATA lAllowSizing INIT .T.
   DATA lEditBorder
   DATA lHide INIT .F.
   DATA lOnPostEdit
   DATA Cargo
   DATA lDragged INIT .F.   // the pressed header was dragged away: no click

   METHOD New( oBrw ) CONSTRUCTOR
   METHOD Adjust()
   METHOD DefStyle( nAlign, lSingleLine )
   METHOD HeaderHeight()
   METHOD FooterHeight()
   METHOD FooterText()
   METHOD HeaderWidth()
   METHOD FooterWidth()
   METHOD DataHeight()
   METHOD DataWidth()
   METHOD CellText()
   METHOD PaintHeader( nRow, nCol, nHeight, lPressed, hDC )
   METHOD PaintFooter( nRow, nCol, nHeight, hDC )
   METHOD PaintTitle( nRow, nCol, nHeight, lPressed, hDC, cText, oFont, aColors, nStyle )
   METHOD PaintData( nRow, nCol, nHeight, lHighlight, lSelected, nPos )
   METHOD CellLayout( nCol, nPos, nMax )
   METHOD Box( nRow, nCol, nHeight, nStyle )
   METHOD HeaderLButtonDown( nRow, nCol, nFlags )
   METHOD HeaderLButtonUp( nRow, nCol, nFlags )
   METHOD End()
ENDCLASS

METHOD New( oBrw ) CLASS TXBrwColumn
   ::oBrw := oBrw
RETURN Self

METHOD Adjust() CLASS TXBrwColumn
   LOCAL oBrw := ::oBrw
   IF ::oDataFont == NIL
      ::oDataFont := oBrw:oFont
   ENDIF
   IF ::oHeaderFont == NIL
      ::oHeaderFont := oBrw:oFont
   ENDIF
   IF ::oFooterFont == NIL
      ::oFooterFont := oBrw:oFont
   ENDIF
   ::nDataStrAlign := XBrwDefault( ::nDataStrAlign, 0 )
   ::nHeadStrAlign := XBrwDefault( ::nHeadStrAlign, 0 )
   ::nFootStrAlign := XBrwDefault( ::nFootStrAlign, 0 )
   ::nDataBmpAlign := XBrwDefault( ::nDataBmpAlign, 0 )
   ::nHeadBmpAlign := XBrwDefault( ::nHeadBmpAlign, 0 )
   ::nFootBmpAlign := XBrwDefault( ::nFootBmpAlign, 0 )
   ::bClrHeader := XBrwDefault( ::bClrHeader, oBrw:bClrHeader )
   ::bClrFooter := XBrwDefault( ::bClrFooter, oBrw:bClrFooter )
   ::bClrStd := XBrwDefault( ::bClrStd, oBrw:bClrStd )
   ::bClrSel := XBrwDefault( ::bClrSel, oBrw:bClrSel )
   ::bClrSelFocus := XBrwDefault( ::bClrSelFocus, oBrw:bClrSelFocus )
   ::bClrEdit := XBrwDefault( ::bClrEdit, ::bClrStd )
   ::nDataStyle := XBrwDefault( ::nDataStyle, ::DefStyle( ::nDataStrAlign, oBrw:nDataLines == 1 ) )
   ::nHeadStyle := XBrwDefault( ::nHeadStyle, ::DefStyle( ::nHeadStrAlign, oBrw:nHeaderLines == 1 ) )
   ::nFootStyle := XBrwDefault( ::nFootStyle, ::DefStyle( ::nFootStrAlign, oBrw:nFooterLines == 1 ) )
   IF ::nWidth == NIL
      ::nWidth := Max( ::HeaderWidth(), Max( ::FooterWidth(), ::DataWidth() ) ) + 6
   ENDIF
RETURN NIL

// The DrawText format for an alignment: 0 left, 1 right, 2 centre; one line or word-wrapped.
METHOD DefStyle( nAlign, lSingleLine ) CLASS TXBrwColumn
   LOCAL nStyle := DT_MODIFYSTRING + DT_EDITCONTROL + DT_NOPREFIX
   IF nAlign == 1
      nStyle += DT_RIGHT
   ELSEIF nAlign == 2
      nStyle += DT_CENTER
   ENDIF
RETURN nStyle + IIf( lSingleLine == .T., DT_SINGLELINE + DT_VCENTER, DT_WORDBREAK )

METHOD HeaderHeight() CLASS TXBrwColumn
RETURN IIf( Empty( ::cHeader ), 0, XBrwTextSize( ::oBrw:hWnd, XBrwFontHandle( ::oHeaderFont ), "B" )[ 2 ] )

METHOD HeaderWidth() CLASS TXBrwColumn
RETURN Max( XBrwWidestLine( ::oBrw:hWnd, ::oHeaderFont, ::cHeader, .F. ), 16 )

METHOD FooterHeight() CLASS TXBrwColumn
RETURN IIf( Empty( ::FooterText() ), 0, XBrwTextSize( ::oBrw:hWnd, XBrwFontHandle( ::oFooterFont ), "B" )[ 2 ] )

METHOD FooterWidth() CLASS TXBrwColumn
RETURN IIf( ::oBrw:lFooter, XBrwWidestLine( ::oBrw:hWnd, ::oFooterFont, ::FooterText(), .F. ), 0 )

// The footer's text: what bFooter gives now (evaluated with the column), else cFooter.
METHOD FooterText() CLASS TXBrwColumn
   LOCAL xValue
   IF ::bFooter == NIL
      RETURN ::cFooter
   ENDIF
   xValue := Eval( ::bFooter, Self )
RETURN IIf( ValType( xValue ) == "C", xValue, XBrwValueText( xValue ) )

METHOD DataHeight() CLASS TXBrwColumn
RETURN IIf( ::bStrData == NIL, 0, XBrwTextSize( ::oBrw:hWnd, XBrwFontHandle( ::oDataFont ), "B" )[ 2 ] )

// Sample width of the current record's text: a "B" for every character of its longest line.
METHOD DataWidth() CLASS TXBrwColumn
   LOCAL nWidth := XBrwWidestLine( ::oBrw:hWnd, ::oDataFont, ::CellText(), .T. )
   IF ::nEditType != NIL .AND. ::nEditType > 1
      nWidth += 15
   ENDIF
RETURN nWidth

// The cell text of the current record: bStrData evaluated with the column, as text.
METHOD CellText() CLASS TXBrwColumn
   LOCAL xValue
   IF ::bStrData == NIL
      RETURN ""
   ENDIF
   xValue := Eval( ::bStrData, Self )
RETURN IIf( ValType( xValue ) == "C", xValue, XBrwValueText( xValue ) )

METHOD PaintHeader( nRow, nCol, nHeight, lPressed, hDC ) CLASS TXBrwColumn
   ::nDisplayCol := nCol
   ::PaintTitle( nRow, nCol, nHeight, lPressed == .T., hDC, ::cHeader, ::oHeaderFont, ;
                 IIf( lPressed == .T., { 16777215, 8388608 }, Eval( ::bClrHeader ) ), ::nHeadStyle )
RETURN NIL

METHOD PaintFooter( nRow, nCol, nHeight, hDC ) CLASS TXBrwColumn
   ::PaintTitle( nRow, nCol, nHeight, .F., hDC, ::FooterText(), ::oFooterFont, Eval( ::bClrFooter ), ::nFootStyle )
RETURN NIL

// A title or footer cell: the background (the 2007 look: two gradients, gold when pressed) and
// the text in the font, colours and DrawText format.
METHOD PaintTitle( nRow, nCol, nHeight, lPressed, hDC, cText, oFont, aColors, nStyle ) CLASS TXBrwColumn
   LOCAL oBrw := ::oBrw, nRight := nCol + ::nWidth, nThird := nRow + Int( nHeight / 3 )
   IF hDC == NIL
      hDC := oBrw:hDC
   ENDIF
   IF !oBrw:l2007
      XBrwFill( hDC, nRow, nCol, nRow + nHeight, nRight, aColors[ 2 ] )
   ELSEIF lPressed
      Gradient( hDC, { nRow, nCol, nThird, nRight }, RGB( 255, 253, 222 ), RGB( 255, 231, 151 ), .T. )
      Gradient( hDC, { nThird, nCol, nRow + nHeight, nRight }, RGB( 255, 215, 84 ), RGB( 255, 233, 162 ), .T. )
   ELSE
      Gradient( hDC, { nRow, nCol, nThird, nRight }, RGB( 219, 230, 244 ), RGB( 207, 221, 239 ), .T. )
      Gradient( hDC, { nThird, nCol, nRow + nHeight, nRight }, RGB( 201, 217, 237 ), RGB( 231, 242, 255 ), .T. )
   ENDIF
   XBrwText( hDC, cText, { nRow + 2, nCol + 3, nRow + nHeight - 2, nRight - 3 }, XBrwFontHandle( oFont ), ;
             aColors[ 1 ], NIL, nStyle )
RETURN NIL

METHOD PaintData( nRow, nCol, nHeight, lHighlight, lSelected, nPos ) CLASS TXBrwColumn
   LOCAL oBrw := ::oBrw
   IF oBrw:nLen == 0
      RETURN NIL
   ENDIF
   IF nCol != NIL
      ::nDisplayCol := nCol
   ENDIF
   XBrwCells( oBrw:hDC, nRow, nRow + nHeight, { ::CellLayout( ::nDisplayCol, XBrwDefault( nPos, ::nPos ), oBrw:BrwWidth() ) }, ;
              1, 1, XBrwColorSlot( lHighlight, oBrw:lFocused ) )
RETURN NIL

// This column's entry of the grid's cell layout (XBRWCELLS) when it starts at x nCol, at
// display position nPos, with the grid's data ending at x nMax.
METHOD CellLayout( nCol, nPos, nMax ) CLASS TXBrwColumn
   LOCAL nStyle := ::oBrw:nColDividerStyle, nLeft := nCol, nRight := nCol + ::nWidth
   IF nStyle == 0
      nRight += 2
   ELSEIF nStyle < 5 .AND. nPos > 1
      nLeft--
   ENDIF
RETURN { Self, ::bStrData, nLeft, Min( nRight, nMax - 4 ), nCol + 3, Min( nCol + ::nWidth - 3, nMax - 5 ), ;
         XBrwFontHandle( ::oDataFont ), ::nDataStyle, ::bClrStd, ::bClrSel, ::bClrSelFocus, ::nWidth, ::oDataFont }

// Marks the cell: 1 dotted focus frame, 2 solid frame, 3 raised box.
METHOD Box( nRow, nCol, nHeight, nStyle ) CLASS TXBrwColumn
   LOCAL oBrw := ::oBrw, nLeft := nCol, nRight := Min( nCol + ::nWidth - 1, oBrw:BrwWidth() - 5 )
   LOCAL nBottom := nRow + nHeight - 1
   IF ::nPos > 1 .AND. oBrw:nColDividerStyle < 5
      nLeft--
   ENDIF
   DO CASE
   CASE nStyle == 1
      FrameDot( oBrw:hDC, nRow, nLeft, nBottom, nRight )
   CASE nStyle == 2
      XBrwFrame( oBrw:hDC, nRow, nLeft, nBottom, nRight, 0 )
   CASE nStyle == 3
      WndBoxRaised( oBrw:hDC, nRow, nLeft, nBottom, nRight )
   ENDCASE
RETURN NIL

// A press on the title: the grid captures the mouse for this column and shows it pressed.
METHOD HeaderLButtonDown( nRow, nCol, nFlags ) CLASS TXBrwColumn
   LOCAL oBrw := ::oBrw
   IF oBrw:lAllowColSwapping .AND. oBrw:nCaptured == 0
      oBrw:Capture( XBRW_CAPTURE_HEADER, Self )
      ::lDragged := .F.
      oBrw:RepaintHeader( Self, .T. )
   ENDIF
RETURN NIL

// The release of a press on the title: shown unpressed again; a click when it was not dragged
// and the release is within the header, not right of the column.
METHOD HeaderLButtonUp( nRow, nCol, nFlags ) CLASS TXBrwColumn
   LOCAL oBrw := ::oBrw, lClick := !::lDragged
   ::lDragged := .F.
   oBrw:RepaintHeader( Self, .F. )
   IF lClick .AND. ::bLClickHeader != NIL .AND. nRow >= 0 .AND. nRow < oBrw:HeaderHeight() .AND. ;
      nCol <= ::nDisplayCol + ::nWidth
      Eval( ::bLClickHeader, nRow, nCol, nFlags, Self )
   ENDIF
RETURN NIL

METHOD End() CLASS TXBrwColumn
   ::oBrw := NIL
RETURN NIL

// Helpers shared by the grid and its columns.

FUNCTION XBrwDefault( xValue, xDefault )
RETURN IIf( xValue == NIL, xDefault, xValue )

// The cell-layout slot of the colour block for a cell: marked with or without the focus, or not.
FUNCTION XBrwColorSlot( lHighlight, lFocused )
RETURN IIf( lHighlight == .T., IIf( lFocused == .T., XBRW_CELL_CLRSELFOCUS, XBRW_CELL_CLRSEL ), XBRW_CELL_CLRSTD )

FUNCTION XBrwFontHandle( oFont )
RETURN IIf( oFont == NIL, 0, oFont:hFont )

// Width in pixels of the widest line of cText in oFont; with lSample a run of "B" as long as each line.
FUNCTION XBrwWidestLine( hWnd, oFont, cText, lSample )
   LOCAL nWidest := 0, cLine, nAt, hFont := XBrwFontHandle( oFont )
   cText := StrTran( IIf( ValType( cText ) == "C", cText, "" ), Chr( 13 ), "" )
   DO WHILE .T.
      nAt := At( Chr( 10 ), cText )
      cLine := IIf( nAt == 0, cText, Left( cText, nAt - 1 ) )
      IF Len( cLine ) > 0
         nWidest := Max( nWidest, XBrwTextSize( hWnd, hFont, IIf( lSample, Replicate( "B", Len( cLine ) ), cLine ) )[ 1 ] )
      ENDIF
      IF nAt == 0
         EXIT
      ENDIF
      cText := SubStr( cText, nAt + 1 )
   ENDDO
RETURN nWidest
