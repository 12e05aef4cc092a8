// TXBrowse: the browse grid control. Shows the records of a work area in rows and columns with
// a header, a record selector, divider lines and a marked current row or cell; moves the work
// area's record pointer through its navigation blocks; paints double-buffered line by line and
// scrolls by one row where it can.
#include "xbrowse.ch"

CLASS TXBrowse FROM TControl
   DATA oCapCol, oSeek, oDbf   // oVScroll, oHScroll: TWindow's
   DATA aCols INIT {}
   DATA aDisplay INIT {}
   DATA aSelected INIT {}
   DATA aArrayData
   DATA bGoTop, bGoBottom, bSkip, bBof, bEof, bKeyNo, bKeyCount, bBookMark, bSeek, bPastEof
   DATA bClrHeader, bClrFooter, bClrStd, bClrSel, bClrSelFocus
   DATA cAlias INIT ""
   DATA cSeek INIT ""
   DATA nRowSel INIT 1
   DATA nColSel INIT 1
   DATA nFreeze INIT 0
   DATA nColOffset INIT 1
   DATA nHeaderLines INIT 1
   DATA nFooterLines INIT 1
   DATA nDataLines INIT 1
   DATA nDataType INIT 0
   DATA nHeaderHeight, nFooterHeight, nRowHeight, nRecSelColor
   DATA nRowDividerStyle INIT 0
   DATA nColDividerStyle INIT 0
   DATA nMarqueeStyle INIT 2
   DATA nLen INIT 0
   DATA nDataRows INIT 0
   DATA nCaptured INIT 0
   DATA nArrayAt
   DATA nLastEditCol INIT 0
   DATA nVScrollPos INIT 0
   DATA nThumbPos INIT -1   // the thumb position last given to the scroll bar (-1: none yet)
   DATA hBtnShadowPen, hWhitePen, hColPen, hRowPen, hBmpRecSel, hBrushRecSel
   DATA hOwnArrow      // the arrow bitmap the grid made (hBmpRecSel unless the program set another)
   DATA lCreated INIT .F.
   DATA lRecordSelector INIT .T.
   DATA lHScroll INIT .T.
   DATA lVScroll INIT .T.
   DATA lAllowRowSizing INIT .T.
   DATA lAllowColSwapping INIT .T.
   DATA lAllowColHiding INIT .T.
   DATA lColDividerComplete INIT .F.
   DATA lFastEdit INIT .F.
   DATA lEditMode
   DATA lRefreshOnlyData INIT .F.
   DATA l2007 INIT .T.
   DATA lHeader INIT .T.
   DATA lFooter INIT .F.
   CLASSDATA lRegistered INIT .F.
   DATA nResizeRow INIT 0   // the row whose bottom edge is being dragged
   DATA aWndSize INIT { 0, 0 }   // outer width and height of the window
   DATA aLayout        // the shown columns' cell layout (XBRWCELLS), NIL until made again
   DATA aColLefts      // the left x of every shown column and of where a next one would start
   DATA aRowPlaces     // { header height, row height, data height, last row top, row count }, NIL until made again
   DATA lArrayCols INIT .F.   // the columns were made by SetArray

   METHOD New( oWnd ) CONSTRUCTOR
   METHOD AddCol()
   METHOD CreateFromResource( nId )
   METHOD Initiate( hDlg )
   METHOD SetRDD( lAddColumns )
   METHOD SetArray( aData, lAddColumns )
   METHOD Adjust()
   METHOD MakePens()
   METHOD End()
   METHOD Destroy()
   METHOD ReleaseGdi()

   // geometry
   METHOD nWidth() INLINE ::aWndSize[ 1 ]
   METHOD nHeight() INLINE ::aWndSize[ 2 ]
   METHOD TakeSize()
   METHOD Resize( nType, nWidth, nHeight )
   METHOD BrwWidth()
   METHOD BrwHeight()
   METHOD HeaderHeight() INLINE IIf( ::lHeader .AND. ::nHeaderHeight != NIL, ::nHeaderHeight, 0 )
   METHOD FooterHeight() INLINE IIf( ::lFooter .AND. ::nFooterHeight != NIL, ::nFooterHeight, 0 )
   METHOD RowCount()
   METHOD LastRow() INLINE ::BrwHeight() - ::FooterHeight() - ::nRowHeight + 1
   METHOD DataHeight()
   METHOD RecSelWidth() INLINE IIf( ::lRecordSelector, XBRW_RECSEL_WIDTH, 0 )
   METHOD RowTop( nRow ) INLINE ( nRow - 1 ) * ::nRowHeight + ::HeaderHeight()
   METHOD DataBottom() INLINE ::BrwHeight() - ::FooterHeight()

   // columns
   METHOD ColAtPos( nPos )
   METHOD SelectedCol() INLINE ::ColAtPos( ::nColSel )
   METHOD ColPos( oCol )
   METHOD GetDisplayCols()
   METHOD LastDisplayPos( lFull )
   METHOD ColLeft( nPos )
   METHOD CellLayout()
   METHOD LayoutChanged() INLINE ::aLayout := ::aRowPlaces := NIL
   METHOD RowPlaces()
   METHOD MouseRowPos( nRow )
   METHOD MouseColPos( nCol )

   // data
   METHOD KeyCount()
   METHOD Refresh( lComplete )
   METHOD Repaint() INLINE IIf( Empty( ::hWnd ), NIL, InvalidateRect( ::hWnd, .F. ) )
   METHOD Skip( n ) INLINE IIf( ::bSkip == NIL, 0, Eval( ::bSkip, n ) )
   METHOD Bof() INLINE ::bBof == NIL .OR. Eval( ::bBof )
   METHOD Eof() INLINE ::bEof == NIL .OR. Eval( ::bEof )
   METHOD BookMark() INLINE IIf( ::bBookMark == NIL, 0, Eval( ::bBookMark ) )
   METHOD Changed()
   METHOD Seek( cText )
   METHOD Select( nMode )

   // painting
   METHOD Display()
   METHOD Paint()
   METHOD PaintRecordSelector()
   METHOD PaintHeaders()
   METHOD PaintFooters()
   METHOD PaintTitleBand( nTop, nHeight, lHeader )
   METHOD PaintRows()
   METHOD PaintColLines( nTop, nBottom )
   METHOD PaintRowLine( nBoundary, y )
   METHOD PaintRowFrame( nRow, nTop, nRowHeight )
   METHOD ClearBelowCells( nRow )
   METHOD DrawLine( lSelected, nRowSel, lShown )
   METHOD PaintMarquee( y, nHeight )
   METHOD PaintArrow( y )
   METHOD FillRightOf( nTop, nBottom, nColor )
   METHOD SelectionColors()
   METHOD RepaintHeader( oCol, lPressed )
   METHOD GetDrawDC()
   METHOD FreeDrawDC( lOwnDC )
   METHOD Fill( nTop, nLeft, nBottom, nRight, nColor ) INLINE XBrwFill( ::hDC, nTop, nLeft, nBottom, nRight, nColor )
   METHOD Line( nX1, nY1, nX2, nY2, hPen ) INLINE XBrwLine( ::hDC, nX1, nY1, nX2, nY2, hPen )

   // navigation
   METHOD GoUp()
   METHOD GoDown()
   METHOD PageUp( nLines )
   METHOD PageDown( nLines )
   METHOD GoTop()
   METHOD GoBottom()
   METHOD GoLeft()
   METHOD GoRight()
   METHOD GoLeftMost()
   METHOD GoRightMost()
   METHOD ShowColumn( nCol )
   METHOD MoveMark( nRow )
   METHOD ScrollOneRow( nDirection, nRows )

   // scroll bars
   METHOD VSetRange()
   METHOD VSetPos( nPos )
   METHOD VScroll( nWParam, nLParam )
   METHOD HScroll( nWParam, nLParam )

   // input
   METHOD KeyDown( nKey, nFlags )
   METHOD KeyChar( nKey, nFlags )
   METHOD GetDlgCode( nLastKey )
   METHOD EraseBkGnd( hDC ) INLINE 1   // Paint covers the whole client area
   METHOD LButtonDown( nRow, nCol, nFlags )
   METHOD LButtonUp( nRow, nCol, nFlags )
   METHOD MouseMove( nRow, nCol, nFlags )
   METHOD MouseWheel( nKeys, nDelta, nXPos, nYPos )
   METHOD GotFocus( hWndLoss )
   METHOD KillFocus( hWndGet )
   METHOD Capture( nWhat, oCol )
   METHOD StartResize( nRow, nCol )
   METHOD SwapColumns( oCol, nCol )

   // the UI script's points of headers and cells
   METHOD UiHeaderPoint( nCol )
   METHOD UiCellPoint( nRow, nCol )
   METHOD VisibleCentre( nCol )
ENDCLASS

METHOD New( oWnd ) CLASS TXBrowse
   IF oWnd == NIL
      oWnd := GetWndDefault()
   ENDIF
   ::oWnd := oWnd
   ::cCaption := ""
   ::nTop := 0
   ::nLeft := 0
   ::nBottom := 100
   ::nRight := 100
   ::nStyle := WS_CHILD + WS_BORDER + WS_VISIBLE + WS_TABSTOP
   ::SetColor( 0, GetSysColor( COLOR_WINDOW ) )
   ::lDrag := .F.
   ::lFocused := .F.
   IF oWnd != NIL .AND. oWnd:oFont != NIL
      ::oFont := oWnd:oFont
      ::oFont:nCount++
   ENDIF
   ::bClrHeader := {|| { GetSysColor( COLOR_BTNTEXT ), GetSysColor( COLOR_BTNFACE ) } }
   ::bClrFooter := ::bClrHeader
   ::bClrStd := {|| { 0, GetSysColor( COLOR_WINDOW ) } }
   ::bClrSel := {|| { 0, GetSysColor( COLOR_INACTIVECAPTIONTEXT ) } }
   ::bClrSelFocus := {|| { 16777215, GetSysColor( COLOR_HIGHLIGHT ) } }
RETURN Self

METHOD AddCol() CLASS TXBrowse
   LOCAL oCol := TXBrwColumn():New( Self )
   AAdd( ::aCols, oCol )
   oCol:nCreationOrder := Len( ::aCols )
RETURN oCol

METHOD CreateFromResource( nId ) CLASS TXBrowse
   IF !::lCreated
      ::nId := nId
      ::Register( CS_VREDRAW + CS_HREDRAW + CS_DBLCLKS )
      ::oWnd:DefControl( Self )
   ENDIF
RETURN Self

METHOD Initiate( hDlg ) CLASS TXBrowse
   ::Super:Initiate( hDlg )
   ::TakeSize()
   ::SetColor( 0, GetSysColor( COLOR_WINDOW ) )
   IF ::nDataType == 0
      ::SetRDD()
   ELSEIF ::nDataType != XBRW_DATA_ARRAY
      MsgStop( "Data type not supported", "TXBrowse class" )
   ENDIF
   ::lCreated := .T.
   ::Adjust()
RETURN NIL

// Binds the navigation blocks to the alias (default: the current one); no alias binds nothing.
METHOD SetRDD( lAddColumns ) CLASS TXBrowse
   IF Empty( ::cAlias )
      ::cAlias := Alias()
   ENDIF
   IF !Empty( ::cAlias )
      XBrwBindArea( Self, ::cAlias, lAddColumns != .F. )
   ENDIF
RETURN NIL

// Shows the rows of aData (an array of rows, each an array of values or one value) with
// nArrayAt as the current row; without columns of the program's own (lAddColumns default
// true) one is made per element of the first row.
METHOD SetArray( aData, lAddColumns ) CLASS TXBrowse
   ::aArrayData := IIf( ValType( aData ) == "A", aData, {} )
   ::nDataType := XBRW_DATA_ARRAY
   XBrwBindArray( Self, lAddColumns != .F. )
   IF ::lCreated
      ::Adjust()
      ::nRowSel := 1
      ::Refresh()
   ENDIF
RETURN NIL

METHOD Adjust() CLASS TXBrowse
   LOCAL nHeight := 0
   AEval( ::aCols, {| o | o:Adjust() } )
   IF ::lHeader .AND. ::nHeaderHeight == NIL
      AEval( ::aCols, {| o | nHeight := Max( nHeight, o:HeaderHeight() ) } )
      ::nHeaderHeight := nHeight * ::nHeaderLines + 7
   ENDIF
   IF ::lFooter .AND. ::nFooterHeight == NIL
      nHeight := 0
      AEval( ::aCols, {| o | nHeight := Max( nHeight, o:FooterHeight() ) } )
      ::nFooterHeight := nHeight * ::nFooterLines + 7
   ENDIF
   IF ::nRowHeight == NIL
      nHeight := 0
      AEval( ::aCols, {| o | nHeight := Max( nHeight, o:DataHeight() ) } )
      IF nHeight == 0
         nHeight := XBrwTextSize( ::hWnd, XBrwFontHandle( ::oFont ), "B" )[ 2 ]
      ENDIF
      ::nRowHeight := nHeight * ::nDataLines + 4 + IIf( ::nRowDividerStyle != 0, 1, 0 ) + ;
                      IIf( ::nRowDividerStyle >= 5, 1, 0 )
   ENDIF
   ::MakePens()
   ::GetDisplayCols()
   ::KeyCount()
RETURN NIL

// Pens of the frames and dividers, the record-selector brush and the arrow.
METHOD MakePens() CLASS TXBrowse
   LOCAL aPenColors := { 0, 8421504, ::nClrText, 12632256, 0, 0 }
   IF ::hBtnShadowPen == NIL
      ::hBtnShadowPen := CreatePen( PS_SOLID, 1, GetSysColor( COLOR_BTNSHADOW ) )
      ::hWhitePen := CreatePen( PS_SOLID, 1, GetSysColor( COLOR_BTNHIGHLIGHT ) )
      ::hBmpRecSel := GxRArrow()
      ::hOwnArrow := ::hBmpRecSel
   ENDIF
   XBrwDeleteObject( ::hColPen )
   XBrwDeleteObject( ::hRowPen )
   ::hColPen := IIf( ::nColDividerStyle > 0, CreatePen( PS_SOLID, 1, aPenColors[ Min( ::nColDividerStyle, 6 ) ] ), NIL )
   ::hRowPen := IIf( ::nRowDividerStyle > 0, CreatePen( PS_SOLID, 1, aPenColors[ Min( ::nRowDividerStyle, 6 ) ] ), NIL )
   ::nRecSelColor := XBrwDefault( ::nRecSelColor, RGB( 231, 242, 255 ) )
   XBrwDeleteObject( ::hBrushRecSel )
   ::hBrushRecSel := CreateSolidBrush( ::nRecSelColor )
RETURN NIL

METHOD End() CLASS TXBrowse
   AEval( ::aCols, {| o | o:End() } )
   ::ReleaseGdi()
RETURN ::Super:End()

// The window goes away (also when its dialog closes without End): its drawing objects with it.
METHOD Destroy() CLASS TXBrowse
   ::ReleaseGdi()
RETURN ::Super:Destroy()

// Deletes the arrow bitmap, the record-selector brush and the four pens.
METHOD ReleaseGdi() CLASS TXBrowse
   XBrwDeleteObject( ::hBmpRecSel )
   IF ::hOwnArrow != ::hBmpRecSel
      XBrwDeleteObject( ::hOwnArrow )
   ENDIF
   XBrwDeleteObject( ::hBrushRecSel )
   XBrwDeleteObject( ::hBtnShadowPen )
   XBrwDeleteObject( ::hWhitePen )
   XBrwDeleteObject( ::hColPen )
   XBrwDeleteObject( ::hRowPen )
   ::hBmpRecSel := NIL
   ::hOwnArrow := NIL
   ::hBrushRecSel := NIL
   ::hBtnShadowPen := NIL
   ::hWhitePen := NIL
   ::hColPen := NIL
   ::hRowPen := NIL
RETURN NIL

// ---- geometry -----------------------------------------------------------------------------

// Remembers the outer size of the grid's window (read at creation and when it changes).
METHOD TakeSize() CLASS TXBrowse
   LOCAL aRect := GetWindowRect( ::hWnd )
   ::aWndSize := { aRect[ 4 ] - aRect[ 2 ], aRect[ 3 ] - aRect[ 1 ] }
   ::LayoutChanged()
RETURN NIL

METHOD Resize( nType, nWidth, nHeight ) CLASS TXBrowse
   ::TakeSize()
RETURN ::Super:Resize( nType, nWidth, nHeight )

METHOD BrwWidth() CLASS TXBrowse
RETURN ::nWidth() - IIf( ::lVScroll, GetSysMetrics( SM_CYVSCROLL ), 0 )

METHOD BrwHeight() CLASS TXBrowse
RETURN ::nHeight() - 2 - IIf( ::lHScroll, GetSysMetrics( SM_CYHSCROLL ), 0 )

METHOD RowCount() CLASS TXBrowse
   IF ::nRowHeight == NIL .OR. ::nRowHeight <= 0
      RETURN 0
   ENDIF
RETURN Max( Int( ( ::BrwHeight() - ::HeaderHeight() - ::FooterHeight() ) / ::nRowHeight ), 0 )

METHOD DataHeight() CLASS TXBrowse
RETURN ::nRowHeight - IIf( ::nRowDividerStyle > 0, 1, 0 ) - IIf( ::nRowDividerStyle >= 5, 1, 0 )

// ---- columns ------------------------------------------------------------------------------

METHOD ColAtPos( nPos ) CLASS TXBrowse
   IF Empty( ::aDisplay )
      RETURN NIL
   ENDIF
RETURN ::aCols[ ::aDisplay[ Max( 1, Min( nPos, Len( ::aDisplay ) ) ) ] ]

METHOD ColPos( oCol ) CLASS TXBrowse
RETURN oCol:nPos

METHOD GetDisplayCols() CLASS TXBrowse
   LOCAL n := 1, nFrozen := 0
   AEval( ::aCols, {| o | o:nPos := 0 } )
   ::aDisplay := {}
   DO WHILE n <= Len( ::aCols ) .AND. nFrozen < ::nFreeze
      IF !::aCols[ n ]:lHide
         AAdd( ::aDisplay, n )
         nFrozen++
      ENDIF
      n++
   ENDDO
   FOR n := Max( n, ::nColOffset + ::nFreeze ) TO Len( ::aCols )
      IF !::aCols[ n ]:lHide
         AAdd( ::aDisplay, n )
      ENDIF
   NEXT
   AEval( ::aDisplay, {| nCol, nPos | ::aCols[ nCol ]:nPos := nPos } )
   ::LayoutChanged()
   ::nColSel := Max( 1, Min( ::nColSel, Len( ::aDisplay ) ) )
   IF ::lHScroll .AND. ::hWnd != NIL .AND. ::hWnd != 0
      SetScrollRange( ::hWnd, SB_HORZ, 1, Max( Len( ::aDisplay ), 2 ), .T. )
   ENDIF
RETURN ::aDisplay

// The last display position whose column starts inside the grid (lFull: ends inside it).
METHOD LastDisplayPos( lFull ) CLASS TXBrowse
   LOCAL n, x := ::RecSelWidth(), nLast := 0, nFull := 0, nWidth := ::BrwWidth()
   FOR n := 1 TO Len( ::aDisplay )
      IF x >= nWidth
         EXIT
      ENDIF
      nLast := n
      x += ::ColAtPos( n ):nWidth + 2
      IF x <= nWidth
         nFull := n
      ENDIF
   NEXT
RETURN Max( IIf( lFull == .T., nFull, nLast ), 1 )

// Left x of the cell at display position nPos (one past the last: where a next column would start).
METHOD ColLeft( nPos ) CLASS TXBrowse
   LOCAL n, x := ::RecSelWidth()
   FOR n := 1 TO Min( nPos, Len( ::aDisplay ) + 1 ) - 1
      x += ::ColAtPos( n ):nWidth + 2
   NEXT
RETURN x

// The cell layout of the columns shown (made again after a change of the columns or the size,
// and at every full paint), with their left edges in ::aColLefts.
METHOD CellLayout() CLASS TXBrowse
   LOCAL nLast, nPos, oCol, x, nMax
   IF ::aLayout == NIL
      x := ::RecSelWidth()
      nMax := ::BrwWidth()
      nLast := Min( ::LastDisplayPos(), Len( ::aDisplay ) )
      ::aLayout := Array( nLast )
      ::aColLefts := Array( nLast + 1 )
      FOR nPos := 1 TO nLast
         oCol := ::ColAtPos( nPos )
         oCol:nDisplayCol := x
         ::aColLefts[ nPos ] := x
         ::aLayout[ nPos ] := oCol:CellLayout( x, nPos, nMax )
         x += oCol:nWidth + 2
      NEXT
      ::aColLefts[ nLast + 1 ] := x
   ENDIF
RETURN ::aLayout

// The row geometry a drawing step needs, read from the settings once per layout (a paint or a
// change of size or columns makes it again):
// { HeaderHeight(), nRowHeight, DataHeight(), LastRow(), RowCount(), and the settings it came
// from: nHeaderHeight, nFooterHeight, nRowDividerStyle }.
// Settings changed since (without Refresh) make it again, keep the mark within the rows that
// fit, and repaint the grid in the new rows.
METHOD RowPlaces() CLASS TXBrowse
   LOCAL a := ::aRowPlaces
   IF a != NIL .AND. ( a[ 2 ] != ::nRowHeight .OR. a[ 6 ] != ::nHeaderHeight .OR. ;
                       a[ 7 ] != ::nFooterHeight .OR. a[ 8 ] != ::nRowDividerStyle )
      ::LayoutChanged()
      a := NIL
      ::nRowSel := Max( Min( ::nRowSel, ::RowCount() ), 1 )
      ::nDataRows := Min( ::nDataRows, ::RowCount() )
      ::Repaint()
   ENDIF
   IF a == NIL
      ::aRowPlaces := { ::HeaderHeight(), ::nRowHeight, ::DataHeight(), ::LastRow(), ::RowCount(), ;
                        ::nHeaderHeight, ::nFooterHeight, ::nRowDividerStyle }
   ENDIF
RETURN ::aRowPlaces

METHOD MouseRowPos( nRow ) CLASS TXBrowse
   IF nRow < ::HeaderHeight() .OR. nRow >= ::DataBottom()
      RETURN 0
   ENDIF
RETURN Int( ( nRow - ::HeaderHeight() ) / ::nRowHeight ) + 1

// The display position of the column under x, 0 outside the columns.
METHOD MouseColPos( nCol ) CLASS TXBrowse
   LOCAL n, x := ::RecSelWidth(), nLast := ::LastDisplayPos()
   IF nCol < x - 2 .OR. Empty( ::aDisplay )
      RETURN 0
   ENDIF
   FOR n := 1 TO nLast
      x += ::ColAtPos( n ):nWidth + 2
      IF nCol < x - 2
         RETURN n
      ENDIF
   NEXT
RETURN 0

// ---- data ---------------------------------------------------------------------------------

METHOD KeyCount() CLASS TXBrowse
   ::nLen := IIf( ::bKeyCount == NIL, 0, Eval( ::bKeyCount ) )
   ::VSetRange()
   ::VSetPos( IIf( ::bKeyNo == NIL .OR. ::nLen == 0, 1, Eval( ::bKeyNo ) ) )
RETURN ::nLen

METHOD Refresh( lComplete ) CLASS TXBrowse
   ::KeyCount()
   IF lComplete == .T.
      ::nRowSel := 1
   ELSE
      ::nRowSel := Max( Min( ::nRowSel, ::nLen ), 1 )
   ENDIF
   ::GetDisplayCols()
   IF ::hWnd != NIL .AND. ::hWnd != 0
      InvalidateRect( ::hWnd, .F. )
   ENDIF
RETURN NIL

METHOD Changed() CLASS TXBrowse
   IF ::bChange != NIL
      Eval( ::bChange, Self )
   ENDIF
RETURN NIL

// Incremental search through bSeek; the grid shows the found record in its first row.
METHOD Seek( cText ) CLASS TXBrowse
   ::cSeek := cText
   IF ::bSeek != NIL .AND. Eval( ::bSeek, cText )
      ::nRowSel := 1
      ::Refresh()
      ::Changed()
   ENDIF
RETURN NIL

// The multiple selection of marquee style 6: 0 clears it, 1 toggles the current record.
METHOD Select( nMode ) CLASS TXBrowse
   LOCAL nAt
   IF nMode == 0
      ::aSelected := {}
   ELSEIF nMode == 1
      nAt := AScan( ::aSelected, ::BookMark() )
      IF nAt == 0
         AAdd( ::aSelected, ::BookMark() )
      ELSE
         ADel( ::aSelected, nAt )
         ASize( ::aSelected, Len( ::aSelected ) - 1 )
      ENDIF
   ENDIF
   ::Refresh()
RETURN NIL

// ---- painting -----------------------------------------------------------------------------

METHOD Display() CLASS TXBrowse
   ::BeginPaint()
   ::Paint()
   ::EndPaint()
RETURN 0

METHOD Paint() CLASS TXBrowse
   LOCAL aInfo, hPaintDC := ::hDC, nBoundary
   IF !::lCreated
      RETURN NIL
   ENDIF
   aInfo := GxDispBegin( ::hWnd, hPaintDC )
   ::hDC := aInfo[ 3 ]
   ::LayoutChanged()
   ::Fill( 0, 0, ::nHeight(), ::nWidth(), ::nClrPane )
   IF !::lRefreshOnlyData
      ::PaintRecordSelector()
      ::PaintHeaders()
   ENDIF
   ::lRefreshOnlyData := .F.
   IF ::nLen == 0
      ::nDataRows := 0
   ELSE
      ::PaintRows()
      ::PaintColLines( ::HeaderHeight(), IIf( ::lColDividerComplete, ::DataBottom(), ::RowTop( ::nDataRows + 1 ) ) )
      FOR nBoundary := 1 TO ::nDataRows - 1
         ::PaintRowLine( nBoundary )
      NEXT
   ENDIF
   ::PaintFooters()
   GxDispEnd( aInfo )
   ::hDC := hPaintDC
RETURN NIL

METHOD PaintRecordSelector() CLASS TXBrowse
   LOCAL nBottom := ::BrwHeight() + 3
   IF ::lRecordSelector
      XBrwFill( ::hDC, 0, 0, nBottom, 24, ::nRecSelColor )
      ::Line( 22, ::HeaderHeight(), 22, ::DataBottom() + 3, ::hWhitePen )
      ::Line( 23, ::HeaderHeight(), 23, ::DataBottom() + 3, ::hBtnShadowPen )
      ::Line( 0, 0, 0, nBottom, ::hBtnShadowPen )
      ::Line( 1, 0, 1, nBottom, ::hWhitePen )
   ENDIF
RETURN NIL

METHOD PaintHeaders() CLASS TXBrowse
   IF ::lHeader
      ::PaintTitleBand( 0, ::HeaderHeight(), .T. )
   ENDIF
RETURN NIL

// The footers below the data rows, when the grid has them.
METHOD PaintFooters() CLASS TXBrowse
   IF ::FooterHeight() > 0
      ::PaintTitleBand( ::DataBottom(), ::FooterHeight(), .F. )
   ENDIF
RETURN NIL

// A band of the columns' titles (lHeader) or footers from y nTop, nHeight high: its frame
// lines, the record-selector colour behind it, and each shown column's title or footer.
METHOD PaintTitleBand( nTop, nHeight, lHeader ) CLASS TXBrowse
   LOCAL nWidth := ::BrwWidth(), nPos, x := ::RecSelWidth(), oCol, nBottom := nTop + nHeight
   ::Line( 0, nTop, nWidth, nTop, ::hBtnShadowPen )
   ::Line( 0, nTop + 1, nWidth, nTop + 1, ::hWhitePen )
   ::Line( 0, nBottom - 1, nWidth, nBottom - 1, ::hBtnShadowPen )
   ::Fill( nTop + 2, 2, nBottom - 1, nWidth, ::nRecSelColor )
   FOR nPos := 1 TO Min( ::LastDisplayPos(), Len( ::aDisplay ) )
      oCol := ::ColAtPos( nPos )
      oCol:nDisplayCol := x
      ::Line( x - 2, nTop + 2, x - 2, nBottom - 1, ::hBtnShadowPen )
      ::Line( x - 1, nTop + 2, x - 1, nBottom - 1, ::hWhitePen )
      IF lHeader
         oCol:PaintHeader( nTop + 2, x, nHeight - 3, .F., ::hDC )
      ELSE
         oCol:PaintFooter( nTop + 2, x, nHeight - 3, ::hDC )
      ENDIF
      x += oCol:nWidth + 2
   NEXT
   ::Line( x - 2, nTop + 2, x - 2, nBottom - 1, ::hBtnShadowPen )
   ::Line( x - 1, nTop + 2, x - 1, nBottom - 1, ::hWhitePen )
RETURN NIL

// The data rows from the first shown record down; the current record keeps its row when the
// records above it allow, else it moves up to the row it really is on.
METHOD PaintRows() CLASS TXBrowse
   LOCAL nBookMark := ::BookMark(), nRows := ::RowCount(), nRow := 0, y := ::HeaderHeight()
   LOCAL aLayout := ::CellLayout(), nHeight := ::DataHeight(), lSelected := .F.
   LOCAL nEnd := ATail( ::aColLefts ), nSelBack := IIf( ::nMarqueeStyle > 3, ::SelectionColors()[ 2 ], NIL )
   ::nRowSel := 1 - ::Skip( 1 - Min( ::nRowSel, Max( nRows, 1 ) ) )
   DO WHILE nRow < nRows
      nRow++
      IF nSelBack != NIL
         lSelected := ::nMarqueeStyle == 6 .AND. AScan( ::aSelected, ::BookMark() ) > 0
         ::FillRightOf( y, y + nHeight, IIf( lSelected, nSelBack, Eval( ::bClrStd )[ 2 ] ) )
      ENDIF
      XBrwCells( ::hDC, y, y + nHeight, aLayout, 1, Len( aLayout ), XBrwColorSlot( lSelected, ::lFocused ) )
      y += ::nRowHeight
      IF nRow < nRows .AND. ::Skip( 1 ) == 0
         EXIT
      ENDIF
   ENDDO
   IF ::nMarqueeStyle <= 3 .AND. nEnd < ::BrwWidth()
      ::Fill( ::HeaderHeight(), nEnd - 1, ::DataBottom(), ::BrwWidth(), ::nClrPane )
   ENDIF
   ::nDataRows := nRow
   ::nRowSel := Max( Min( ::nRowSel, ::nDataRows ), 1 )
   ::Fill( y, ::RecSelWidth(), ::DataBottom(), ::BrwWidth(), ::nClrPane )
   IF ::bBookMark != NIL
      Eval( ::bBookMark, nBookMark )
   ENDIF
   ::DrawLine( .T., , .T. )
RETURN NIL

// The background right of the columns over one row, from right of the last column's divider
// (styles 1 to 4 draw it one pixel left of the next column's place, 5 and 6 two pixels wide
// up to that place; without dividers the cells reach it).
METHOD FillRightOf( nTop, nBottom, nColor ) CLASS TXBrowse
   LOCAL nEnd
   ::CellLayout()
   nEnd := ATail( ::aColLefts ) - IIf( ::nColDividerStyle >= 1 .AND. ::nColDividerStyle <= 4, 1, 0 )
   IF nEnd < ::BrwWidth()
      ::Fill( nTop, nEnd, nBottom, ::BrwWidth(), nColor )
   ENDIF
RETURN NIL

// Column lines from nTop to nBottom at every boundary of the displayed columns.
METHOD PaintColLines( nTop, nBottom ) CLASS TXBrowse
   IF ::nColDividerStyle != 0
      ::CellLayout()
      XBrwColLines( ::hDC, ::aColLefts, nTop, nBottom, ::nColDividerStyle, ::hColPen, ::hWhitePen )
   ENDIF
RETURN NIL

// The line between painted row nBoundary and the next one (y: its place when known).
METHOD PaintRowLine( nBoundary, y ) CLASS TXBrowse
   LOCAL nLast, nWideRight := 0, nRowStyle := ::nRowDividerStyle, nColStyle
   IF nRowStyle == 0
      RETURN NIL
   ENDIF
   IF y == NIL
      y := ::HeaderHeight() - 1 + nBoundary * ::nRowHeight
   ENDIF
   nLast := Len( ::CellLayout() )
   IF ::nMarqueeStyle >= 4 .AND. nLast == Len( ::aDisplay )
      nWideRight := ::BrwWidth() - 4
   ENDIF
   nColStyle := ::nColDividerStyle
   XBrwRowLine( ::hDC, ::aColLefts, nLast, y, nRowStyle, IIf( nColStyle == 0, 2, IIf( nColStyle < 5, 1, 0 ) ), ;
                nWideRight, ::hRowPen, ::hWhitePen, IIf( ::lRecordSelector, ::hBtnShadowPen, 0 ) )
RETURN NIL

// The lines around a row that was scrolled into view (nTop, nRowHeight: its top and the row
// height when known).
METHOD PaintRowFrame( nRow, nTop, nRowHeight ) CLASS TXBrowse
   IF nTop == NIL
      nTop := ::RowTop( nRow )
      nRowHeight := ::nRowHeight
   ENDIF
   ::PaintColLines( nTop, nTop + nRowHeight )
   IF nRow > 1
      ::PaintRowLine( nRow - 1, nTop - 1 )
   ENDIF
   IF nRow < ::nDataRows
      ::PaintRowLine( nRow, nTop + nRowHeight - 1 )
   ENDIF
RETURN NIL

// Repaints one row marked (lSelected) or unmarked: its cells, the record selector and the
// marquee of the current cell. lShown: the row's cells are on screen already, so with a marquee
// of the current cell only (styles 0 to 3) that cell is all that changes.
METHOD DrawLine( lSelected, nRowSel, lShown ) CLASS TXBrowse
   LOCAL y, lHighlight, nLast, nLastCell, nHeight, lOwnDC, nFirst := 1, aLayout, nSlot, hDC, aPlaces
   LOCAL nStyle := ::nMarqueeStyle, nColSel := ::nColSel
   IF ::nLen == 0 .OR. !::lCreated
      RETURN NIL
   ENDIF
   IF nRowSel == NIL
      nRowSel := ::nRowSel
   ENDIF
   aPlaces := ::RowPlaces()
   y := aPlaces[ 1 ] + ( nRowSel - 1 ) * aPlaces[ 2 ]
   IF y > aPlaces[ 4 ]
      RETURN NIL
   ENDIF
   nHeight := aPlaces[ 3 ]
   lSelected := lSelected == .T.
   lHighlight := lSelected .AND. nStyle >= 4
   IF nStyle == 6
      lHighlight := AScan( ::aSelected, ::BookMark() ) > 0
   ENDIF
   lOwnDC := ::GetDrawDC()
   hDC := ::hDC
   aLayout := ::CellLayout()
   nLast := Len( aLayout )
   nSlot := XBrwColorSlot( lHighlight, ::lFocused )
   nLastCell := nLast
   IF lShown == .T. .AND. nStyle <= 3
      nFirst := nColSel
      nLastCell := Min( nLast, nColSel )
   ENDIF
   IF lSelected .AND. nStyle == 3 .AND. nColSel <= nLast
      // the current cell painted marked, after the others and only once
      XBrwCells( hDC, y, y + nHeight, aLayout, nFirst, nLastCell, nSlot, nColSel, XBrwColorSlot( .T., ::lFocused ) )
   ELSE
      XBrwCells( hDC, y, y + nHeight, aLayout, nFirst, nLastCell, nSlot )
   ENDIF
   IF nStyle >= 4
      ::FillRightOf( y, y + nHeight, IIf( lHighlight, ::SelectionColors()[ 2 ], Eval( ::bClrStd )[ 2 ] ) )
   ENDIF
   IF nStyle == 6
      IF lSelected
         FrameDot( hDC, y, ::RecSelWidth(), y + nHeight - 1, Min( ATail( ::aColLefts ), ::BrwWidth() ) - 3 )
      ELSE
         ::PaintColLines( y, y + ::nRowHeight )
      ENDIF
   ENDIF
   IF ::lRecordSelector
      XBrwFill( hDC, y + IIf( ::nRowDividerStyle > 0 .AND. nRowSel > 1, 1, 0 ), 2, y + nHeight, 22, ::nRecSelColor )
      IF lSelected
         ::PaintArrow( y + Int( ( nHeight - 14 ) / 2 ) )
      ENDIF
   ENDIF
   IF lSelected .AND. nStyle != 3 .AND. nColSel <= nLast
      ::PaintMarquee( y, nHeight )
   ENDIF
   IF lOwnDC
      ::FreeDrawDC( lOwnDC )
   ENDIF
RETURN NIL

// The record-selector arrow at y: the grid's own arrow drawn straight, another bitmap the
// program set in hBmpRecSel drawn transparently.
METHOD PaintArrow( y ) CLASS TXBrowse
   IF ::hBmpRecSel == ::hOwnArrow
      XBrwArrow( ::hDC, y, 10 )
   ELSE
      PalBmpDraw( ::hDC, y, 10, ::hBmpRecSel, .T. )
   ENDIF
RETURN NIL

// The box around the current cell in row y (marquee styles 1, 2 and 4; style 3 paints the
// cell itself marked with the row's cells).
METHOD PaintMarquee( y, nHeight ) CLASS TXBrowse
   LOCAL oCol, nStyle := ::nMarqueeStyle
   DO CASE
   CASE nStyle >= 1 .AND. nStyle <= 4
      oCol := ::SelectedCol()
      oCol:Box( y, oCol:nDisplayCol, nHeight, IIf( nStyle == 4, 3, nStyle ) )
   ENDCASE
RETURN NIL

// The selection colours: bClrSelFocus while the grid has the focus, else bClrSel.
METHOD SelectionColors() CLASS TXBrowse
RETURN Eval( IIf( ::lFocused, ::bClrSelFocus, ::bClrSel ) )

METHOD RepaintHeader( oCol, lPressed ) CLASS TXBrowse
   LOCAL lOwnDC
   IF ::lHeader .AND. oCol:nPos > 0
      lOwnDC := ::GetDrawDC()
      oCol:PaintHeader( 2, ::ColLeft( oCol:nPos ), ::HeaderHeight() - 3, lPressed, ::hDC )
      ::FreeDrawDC( lOwnDC )
   ENDIF
RETURN NIL

// Outside a paint, takes the window's device context into ::hDC for drawing; true when it did.
// The cell layout is made again first when a column's block, font, colours or width changed
// since it was made, and the grid is repainted: the rows on screen show the old settings.
METHOD GetDrawDC() CLASS TXBrowse
   IF !Empty( ::hDC ) .OR. Empty( ::hWnd )
      RETURN .F.
   ENDIF
   IF ::aLayout != NIL .AND. !XBrwLayoutCurrent( ::aLayout )
      ::aLayout := NIL
      ::Repaint()
   ENDIF
   ::hDC := GetDC( ::hWnd )
RETURN .T.

METHOD FreeDrawDC( lOwnDC ) CLASS TXBrowse
   IF lOwnDC
      ReleaseDC( ::hWnd, ::hDC )
      ::hDC := 0
   ENDIF
RETURN NIL

// ---- navigation ---------------------------------------------------------------------------

METHOD GoUp() CLASS TXBrowse
   LOCAL lMoved, lShown := .T., lOwnDC
   IF ::nLen == 0 .OR. ::Bof()
      RETURN NIL
   ENDIF
   lOwnDC := ::GetDrawDC()   // one device context for the whole step
   ::DrawLine( .F., , .T. )
   lMoved := ::Skip( -1 ) == -1
   IF lMoved
      IF ::nRowSel > 1
         ::nRowSel--
      ELSE
         ::ScrollOneRow( -1 )
         lShown := .F.
      ENDIF
      ::VSetPos( ::nVScrollPos - 1 )
   ENDIF
   ::DrawLine( .T., , lShown )
   ::FreeDrawDC( lOwnDC )
   ::Changed()
RETURN NIL

METHOD GoDown() CLASS TXBrowse
   LOCAL lShown, lOwnDC, nRows
   IF ::nLen == 0
      RETURN NIL
   ENDIF
   IF ::Eof()
      IF ::bPastEof != NIL
         Eval( ::bPastEof )
      ENDIF
      RETURN NIL
   ENDIF
   lOwnDC := ::GetDrawDC()   // one device context for the whole step
   ::DrawLine( .F., , .T. )
   IF ::Skip( 1 ) == 1
      nRows := ::RowPlaces()[ 5 ]
      IF ::nRowSel < nRows
         lShown := ::nRowSel < ::nDataRows
         ::MoveMark( ::nRowSel + 1 )
      ELSE
         ::ScrollOneRow( 1, nRows )
         lShown := .F.
      ENDIF
      ::VSetPos( ::nVScrollPos + 1 )
      ::DrawLine( .T., , lShown )
      ::FreeDrawDC( lOwnDC )
      ::Changed()
   ELSE
      ::VSetPos( ::nLen )
      ::DrawLine( .T., , .T. )
      ::FreeDrawDC( lOwnDC )
      IF ::bPastEof != NIL
         Eval( ::bPastEof )
      ENDIF
   ENDIF
RETURN NIL

// The mark goes to row nRow; a row below the painted ones (more records than at the last
// paint) gets its lines.
METHOD MoveMark( nRow ) CLASS TXBrowse
   LOCAL lOwnDC
   ::nRowSel := nRow
   IF nRow > ::nDataRows
      ::nDataRows := nRow
      lOwnDC := ::GetDrawDC()
      ::PaintRowFrame( nRow )
      ::FreeDrawDC( lOwnDC )
   ENDIF
RETURN NIL

// Scrolls the data area one row (1 up, -1 down; nRows: RowCount() when known) and draws the
// lines of the row coming in. With
// marquee styles 0 to 3 the data area right of the columns is one colour from top to bottom, so
// only the columns scroll.
METHOD ScrollOneRow( nDirection, nRows ) CLASS TXBrowse
   LOCAL nRow := IIf( nDirection > 0, ::nRowSel, 1 ), lOwnDC, nRight := 0, aPlaces := ::RowPlaces()
   LOCAL nHeader := aPlaces[ 1 ], nRowHeight := aPlaces[ 2 ]
   IF nRows == NIL
      nRows := ::RowCount()
   ENDIF
   IF !Empty( ::hWnd )
      IF ::nMarqueeStyle <= 3
         ::CellLayout()
         nRight := ATail( ::aColLefts )
      ENDIF
      XBrwScroll( ::hWnd, nDirection, nRowHeight, nHeader, ::FooterHeight(), nRight )
   ENDIF
   IF nDirection < 0
      ::nDataRows := Min( ::nDataRows + 1, nRows )
   ENDIF
   lOwnDC := ::GetDrawDC()
   IF nDirection < 0 .AND. ::nDataRows == nRows
      ::ClearBelowCells( nRows )
   ENDIF
   IF nDirection > 0 .AND. ::lRecordSelector .AND. ::nRowDividerStyle > 0
      // the white line a divider draws in the record selector below it came up to the top
      ::Fill( nHeader, 2, nHeader + 1, 22, ::nRecSelColor )
   ENDIF
   ::PaintRowFrame( nRow, nHeader + ( nRow - 1 ) * nRowHeight, nRowHeight )
   ::FreeDrawDC( lOwnDC )
RETURN NIL

// The part of row nRow's band below its cells as a paint leaves it under the last painted row:
// no row line, only the column lines (a scroll down brings the line of the row above there).
METHOD ClearBelowCells( nRow ) CLASS TXBrowse
   LOCAL nTop := ::RowTop( nRow ) + ::DataHeight(), nBottom := ::RowTop( nRow + 1 )
   IF nTop < nBottom
      IF ::lRecordSelector
         ::Fill( nTop, 2, nBottom, 22, ::nRecSelColor )
      ENDIF
      ::Fill( nTop, ::RecSelWidth(), nBottom, ::BrwWidth(), ::nClrPane )
      ::PaintColLines( nTop, nBottom )
   ENDIF
RETURN NIL

METHOD PageDown( nLines ) CLASS TXBrowse
   LOCAL nSkipped
   nLines := XBrwDefault( nLines, ::RowCount() )
   IF ::nLen == 0
      RETURN NIL
   ENDIF
   nSkipped := ::Skip( nLines )
   IF nSkipped < nLines .AND. ::nRowSel + nSkipped <= ::nDataRows
      ::DrawLine( .F., , .T. )
      ::nRowSel += nSkipped
      ::DrawLine( .T., , .T. )
   ELSE
      ::Repaint()
   ENDIF
   ::VSetPos( ::nVScrollPos + nSkipped )
   ::Changed()
RETURN NIL

METHOD PageUp( nLines ) CLASS TXBrowse
   LOCAL nSkipped
   nLines := XBrwDefault( nLines, ::RowCount() )
   IF ::nLen == 0
      RETURN NIL
   ENDIF
   nSkipped := -::Skip( -nLines )
   IF nSkipped == 0
      ::DrawLine( .T., , .T. )
      RETURN NIL
   ENDIF
   IF nSkipped < nLines
      ::nRowSel := 1
   ENDIF
   ::Repaint()
   ::VSetPos( ::nVScrollPos - nSkipped )
   ::Changed()
RETURN NIL

METHOD GoTop() CLASS TXBrowse
   IF ::nLen == 0 .OR. ::bGoTop == NIL
      RETURN NIL
   ENDIF
   Eval( ::bGoTop )
   ::nRowSel := 1
   ::VSetPos( 1 )
   ::Repaint()
   ::Changed()
RETURN NIL

METHOD GoBottom() CLASS TXBrowse
   IF ::nLen == 0 .OR. ::bGoBottom == NIL
      RETURN NIL
   ENDIF
   Eval( ::bGoBottom )
   ::nRowSel := 1 - ::Skip( 1 - Max( ::RowCount(), 1 ) )
   Eval( ::bGoBottom )
   ::nLen := Eval( ::bKeyCount )
   ::VSetRange()
   ::VSetPos( ::nLen )
   ::Repaint()
   ::Changed()
RETURN NIL

METHOD GoLeft() CLASS TXBrowse
   IF ::nColSel <= 1
      RETURN NIL
   ENDIF
   IF ::nColSel == ::nFreeze + 1 .AND. ::nColOffset > 1
      ::nColOffset--
      ::GetDisplayCols()
      ::Repaint()
   ELSE
      ::DrawLine( .F., , .T. )
      ::nColSel--
      ::DrawLine( .T., , .T. )
   ENDIF
RETURN NIL

METHOD GoRight() CLASS TXBrowse
   IF ::nColSel >= Len( ::aDisplay )
      RETURN NIL
   ENDIF
   IF ::nColSel + 1 <= ::LastDisplayPos( .T. )
      ::DrawLine( .F., , .T. )
      ::nColSel++
      ::DrawLine( .T., , .T. )
   ELSE
      ::ShowColumn( ::aDisplay[ ::nColSel + 1 ] )
   ENDIF
RETURN NIL

METHOD GoLeftMost() CLASS TXBrowse
   ::nColOffset := 1
   ::nColSel := 1
   ::GetDisplayCols()
   ::Repaint()
RETURN NIL

METHOD GoRightMost() CLASS TXBrowse
   IF !Empty( ::aDisplay )
      ::ShowColumn( ATail( ::aDisplay ) )
   ENDIF
RETURN NIL

// Scrolls the columns until aCols[ nCol ] is shown whole (or is the first scrolling one) and
// makes it the current column.
METHOD ShowColumn( nCol ) CLASS TXBrowse
   LOCAL oCol := ::aCols[ nCol ]
   DO WHILE oCol:nPos > ::LastDisplayPos( .T. ) .AND. oCol:nPos > ::nFreeze + 1
      ::nColOffset++
      ::GetDisplayCols()
   ENDDO
   ::nColSel := Max( oCol:nPos, 1 )
   ::Repaint()
RETURN NIL

// ---- scroll bars --------------------------------------------------------------------------

METHOD VSetRange() CLASS TXBrowse
   ::nThumbPos := -1
   IF ::lVScroll .AND. !Empty( ::hWnd )
      SetScrollRange( ::hWnd, SB_VERT, 1, Max( Min( ::nLen, XBRW_SCROLL_LIMIT ), 2 ), .F. )
   ENDIF
RETURN NIL

// Puts the thumb at logical key nPos, scaled to 0...10000 past 10000 keys; the bar is redrawn
// only when the thumb moves (past 10000 keys it moves once in many rows).
METHOD VSetPos( nPos ) CLASS TXBrowse
   LOCAL nThumb
   ::nVScrollPos := Max( Min( nPos, ::nLen ), 1 )
   nThumb := IIf( ::nLen > XBRW_SCROLL_LIMIT, Int( ::nVScrollPos * XBRW_SCROLL_LIMIT / ::nLen ), ::nVScrollPos )
   IF ::lVScroll .AND. !Empty( ::hWnd ) .AND. nThumb != ::nThumbPos
      ::nThumbPos := nThumb
      SetScrollPos( ::hWnd, SB_VERT, nThumb, .T. )
   ENDIF
RETURN NIL

METHOD VScroll( nWParam, nLParam ) CLASS TXBrowse
   LOCAL nCode := nWParam % 65536, nThumb := Int( nWParam / 65536 )
   SWITCH nCode
   CASE SB_LINEUP
      ::GoUp()
      EXIT
   CASE SB_LINEDOWN
      ::GoDown()
      EXIT
   CASE SB_PAGEUP
      ::PageUp()
      EXIT
   CASE SB_PAGEDOWN
      ::PageDown()
      EXIT
   CASE SB_TOP
      ::GoTop()
      EXIT
   CASE SB_BOTTOM
      ::GoBottom()
      EXIT
   CASE SB_THUMBPOSITION
   CASE SB_THUMBTRACK
      IF ::nLen > 0 .AND. ::bKeyNo != NIL
         IF ::nLen > XBRW_SCROLL_LIMIT
            nThumb := Int( nThumb * ::nLen / XBRW_SCROLL_LIMIT )
         ENDIF
         Eval( ::bKeyNo, Max( Min( nThumb, ::nLen ), 1 ) )
         ::Refresh()
         ::Changed()
      ENDIF
      EXIT
   ENDSWITCH
RETURN 0

METHOD HScroll( nWParam, nLParam ) CLASS TXBrowse
   LOCAL nCode := nWParam % 65536
   SWITCH nCode
   CASE SB_LINEUP
   CASE SB_PAGEUP
      ::GoLeft()
      EXIT
   CASE SB_LINEDOWN
   CASE SB_PAGEDOWN
      ::GoRight()
      EXIT
   CASE SB_TOP
      ::GoLeftMost()
      EXIT
   CASE SB_BOTTOM
      ::GoRightMost()
      EXIT
   ENDSWITCH
RETURN 0

// ---- input --------------------------------------------------------------------------------

METHOD KeyDown( nKey, nFlags ) CLASS TXBrowse
   LOCAL lCtrl := GetKeyState( VK_CONTROL ) < 0
   SWITCH nKey
   CASE VK_UP
      ::GoUp()
      EXIT
   CASE VK_DOWN
      ::GoDown()
      EXIT
   CASE VK_LEFT
      IIf( lCtrl, ::GoLeftMost(), ::GoLeft() )
      EXIT
   CASE VK_RIGHT
      IIf( lCtrl, ::GoRightMost(), ::GoRight() )
      EXIT
   CASE VK_HOME
      ::GoTop()
      EXIT
   CASE VK_END
      ::GoBottom()
      EXIT
   CASE VK_PRIOR
      IIf( lCtrl, ::GoTop(), ::PageUp() )
      EXIT
   CASE VK_NEXT
      IIf( lCtrl, ::GoBottom(), ::PageDown() )
      EXIT
   OTHERWISE
      RETURN ::Super:KeyDown( nKey, nFlags )
   ENDSWITCH
   IF ::nMarqueeStyle == 6
      ::aSelected := { ::BookMark() }
      ::Refresh()
   ENDIF
RETURN 0

METHOD KeyChar( nKey, nFlags ) CLASS TXBrowse
   DO CASE
   CASE nKey == VK_ESCAPE
      IF ::oWnd != NIL .AND. !Empty( ::oWnd:hWnd )
         PostMessage( ::oWnd:hWnd, WM_KEYDOWN, VK_ESCAPE, 0 )
      ENDIF
   CASE nKey == 18
      ::PageUp()
   CASE nKey == 3
      ::PageDown()
   CASE nKey == VK_BACK
      ::Seek( Left( ::cSeek, Max( Len( ::cSeek ) - 1, 0 ) ) )
   CASE nKey >= 32 .AND. nKey <= 255
      ::Seek( ::cSeek + Chr( nKey ) )
   OTHERWISE
      RETURN ::Super:KeyChar( nKey, nFlags )
   ENDCASE
RETURN 0

METHOD GetDlgCode( nLastKey ) CLASS TXBrowse
RETURN IIf( IsWindowEnabled( ::hWnd ), DLGC_WANTALLKEYS, NIL )

METHOD LButtonDown( nRow, nCol, nFlags ) CLASS TXBrowse
   LOCAL nColPos, nNewRow, nSkipped, nAt
   ::cSeek := ""
   IF !Empty( ::hWnd ) .AND. GetFocus() != ::hWnd
      SetFocus( ::hWnd )
   ENDIF
   IF ::StartResize( nRow, nCol )
      RETURN 0
   ENDIF
   nColPos := ::MouseColPos( nCol )
   IF nColPos == 0 .AND. ::nMarqueeStyle < 4
      RETURN 0
   ENDIF
   IF nRow < ::HeaderHeight()
      IF nColPos > 0
         ::ColAtPos( nColPos ):HeaderLButtonDown( nRow, nCol, nFlags )
      ENDIF
      RETURN 0
   ENDIF
   IF ::FooterHeight() > 0 .AND. nRow >= ::DataBottom()
      IF nColPos > 0 .AND. ::ColAtPos( nColPos ):bLClickFooter != NIL
         Eval( ::ColAtPos( nColPos ):bLClickFooter, nRow, nCol, nFlags, ::ColAtPos( nColPos ) )
      ENDIF
      RETURN 0
   ENDIF
   nNewRow := ::MouseRowPos( nRow )
   IF ::nLen == 0 .OR. nNewRow < 1 .OR. nNewRow > ::nDataRows
      RETURN 0
   ENDIF
   ::DrawLine( .F., , .T. )
   nSkipped := ::Skip( nNewRow - ::nRowSel )
   ::nRowSel += nSkipped
   IF nColPos > 0
      ::nColSel := nColPos
   ENDIF
   IF ::nMarqueeStyle == 6
      nAt := AScan( ::aSelected, ::BookMark() )
      IF nFlags % ( MK_CONTROL * 2 ) >= MK_CONTROL
         IIf( nAt == 0, AAdd( ::aSelected, ::BookMark() ), NIL )
      ELSEIF nFlags % ( MK_SHIFT * 2 ) < MK_SHIFT
         ::aSelected := { ::BookMark() }
      ENDIF
      ::Refresh()
   ENDIF
   ::VSetPos( ::nVScrollPos + nSkipped )
   ::DrawLine( .T., , .T. )
   ::Changed()
RETURN 0

// A press within a pixel of a column's right edge or of a row boundary starts resizing.
METHOD StartResize( nRow, nCol ) CLASS TXBrowse
   LOCAL nPos, oCol, nRight, nBoundary
   FOR nPos := 1 TO Min( ::LastDisplayPos(), Len( ::aDisplay ) )
      oCol := ::ColAtPos( nPos )
      nRight := ::ColLeft( nPos ) + oCol:nWidth
      IF Abs( nCol - nRight ) <= 1 .AND. oCol:lAllowSizing .AND. ;
         ( ::nColDividerStyle > 0 .OR. nRow < ::HeaderHeight() )
         ::Capture( XBRW_CAPTURE_COLSIZE, oCol )
         RETURN .T.
      ENDIF
   NEXT
   IF ::lAllowRowSizing .AND. ::nRowDividerStyle > 0 .AND. nRow >= ::HeaderHeight() .AND. ;
      ( ::MouseColPos( nCol ) > 0 .OR. ::nMarqueeStyle >= 4 )
      nBoundary := Int( ( nRow - ::HeaderHeight() + 1 + Int( ::nRowHeight / 2 ) ) / ::nRowHeight )
      IF nBoundary >= 1 .AND. nBoundary <= ::nDataRows .AND. ;
         Abs( nRow - ( ::HeaderHeight() - 1 + nBoundary * ::nRowHeight ) ) <= 1
         ::nResizeRow := nBoundary
         ::Capture( XBRW_CAPTURE_ROWSIZE, NIL )
         RETURN .T.
      ENDIF
   ENDIF
RETURN .F.

METHOD Capture( nWhat, oCol ) CLASS TXBrowse
   ::nCaptured := nWhat
   ::oCapCol := oCol
   IF !Empty( ::hWnd )
      SetCapture( ::hWnd )
   ENDIF
RETURN NIL

METHOD MouseMove( nRow, nCol, nFlags ) CLASS TXBrowse
   LOCAL oCol := ::oCapCol, nLeft
   nRow := XBrwSigned( nRow )
   nCol := XBrwSigned( nCol )
   DO CASE
   CASE ::nCaptured == XBRW_CAPTURE_HEADER
      nLeft := ::ColLeft( oCol:nPos )
      IF !oCol:lDragged .AND. ( nRow < 0 .OR. nRow >= ::HeaderHeight() .OR. nCol < nLeft .OR. nCol >= nLeft + oCol:nWidth )
         oCol:lDragged := .T.
         ::RepaintHeader( oCol, .F. )
      ENDIF
   CASE ::nCaptured == XBRW_CAPTURE_COLSIZE
      IF Max( nCol - ::ColLeft( oCol:nPos ), 8 ) != oCol:nWidth
         oCol:nWidth := Max( nCol - ::ColLeft( oCol:nPos ), 8 )
         ::Refresh()
      ENDIF
   CASE ::nCaptured == XBRW_CAPTURE_ROWSIZE
      IF Max( Int( ( nRow - ::HeaderHeight() + 1 ) / ::nResizeRow ), 8 ) != ::nRowHeight
         ::nRowHeight := Max( Int( ( nRow - ::HeaderHeight() + 1 ) / ::nResizeRow ), 8 )
         ::Refresh()
      ENDIF
   OTHERWISE
      RETURN ::Super:MouseMove( nRow, nCol, nFlags )
   ENDCASE
RETURN 0

METHOD LButtonUp( nRow, nCol, nFlags ) CLASS TXBrowse
   LOCAL nCaptured := ::nCaptured, oCol := ::oCapCol
   IF nCaptured == 0
      RETURN ::Super:LButtonUp( nRow, nCol, nFlags )
   ENDIF
   ::nCaptured := 0
   ::oCapCol := NIL
   ReleaseCapture()
   nRow := XBrwSigned( nRow )
   nCol := XBrwSigned( nCol )
   IF nCaptured == XBRW_CAPTURE_HEADER
      IF oCol:lDragged
         ::SwapColumns( oCol, nCol )
      ENDIF
      oCol:HeaderLButtonUp( nRow, nCol, nFlags )
   ENDIF
RETURN 0

// A header dragged onto another column trades places with it.
METHOD SwapColumns( oCol, nCol ) CLASS TXBrowse
   LOCAL nTarget := ::MouseColPos( nCol ), nFrom, nTo, oOther
   IF nTarget == 0 .OR. nTarget == oCol:nPos
      RETURN NIL
   ENDIF
   oOther := ::ColAtPos( nTarget )
   nFrom := AScan( ::aCols, oCol )
   nTo := AScan( ::aCols, oOther )
   ::aCols[ nFrom ] := oOther
   ::aCols[ nTo ] := oCol
   ::Refresh()
RETURN NIL

METHOD MouseWheel( nKeys, nDelta, nXPos, nYPos ) CLASS TXBrowse
   LOCAL lPage := nKeys % ( MK_MBUTTON * 2 ) >= MK_MBUTTON
   IF nDelta > 0
      IIf( lPage, ::PageUp(), ::GoUp() )
   ELSE
      IIf( lPage, ::PageDown(), ::GoDown() )
   ENDIF
RETURN 0

METHOD GotFocus( hWndLoss ) CLASS TXBrowse
   ::lFocused := .T.
   ::DrawLine( .T., , .T. )
RETURN ::Super:GotFocus( hWndLoss )

METHOD KillFocus( hWndGet ) CLASS TXBrowse
   ::lFocused := .F.
   ::DrawLine( .T., , .T. )
RETURN ::Super:KillFocus( hWndGet )

// ---- UI script points ---------------------------------------------------------------------

// { x, y } of the centre of the title of the column shown at position nCol, or NIL.
METHOD UiHeaderPoint( nCol ) CLASS TXBrowse
   IF !::lHeader .OR. nCol < 1 .OR. nCol > Min( ::LastDisplayPos(), Len( ::aDisplay ) )
      RETURN NIL
   ENDIF
RETURN { ::VisibleCentre( nCol ), Int( ::HeaderHeight() / 2 ) }

// { x, y } of the centre of the cell in visible data row nRow and shown column nCol, or NIL.
METHOD UiCellPoint( nRow, nCol ) CLASS TXBrowse
   IF nRow < 1 .OR. nRow > ::nDataRows .OR. nCol < 1 .OR. nCol > Min( ::LastDisplayPos(), Len( ::aDisplay ) )
      RETURN NIL
   ENDIF
RETURN { ::VisibleCentre( nCol ), ::RowTop( nRow ) + Int( ::DataHeight() / 2 ) }

// The x in the middle of the visible part of the column shown at position nCol.
METHOD VisibleCentre( nCol ) CLASS TXBrowse
   LOCAL nLeft := ::ColLeft( nCol )
RETURN Int( ( nLeft + Min( nLeft + ::ColAtPos( nCol ):nWidth, ::BrwWidth() ) ) / 2 )

// A 16-bit coordinate of a mouse message as a signed number.
STATIC FUNCTION XBrwSigned( n )
RETURN IIf( n > 32767, n - 65536, n )

// Deletes a GDI object handle when there is one.
FUNCTION XBrwDeleteObject( hObject )
   IF !Empty( hObject )
      DeleteObject( hObject )
   ENDIF
RETURN NIL
