// TMeter: a progress bar whose value lives behind bSetGet. Set clamps the value to 0..nTotal
// and, once the value reaches 1 % and its whole percentage changes, repaints the bar at once
// and pumps the message queue, so the dialog stays responsive while the caller's work goes on.
#include "gui.ch"

CLASS TMeter FROM TControl
   CLASSDATA lRegistered INIT .F.
   DATA nTotal INIT 10
   DATA nRefresh INIT 0
   DATA nClrBar, nClrBText
   DATA cText INIT ""
   DATA lPercentage INIT .T.
   DATA nShown INIT -1
   DATA aBounds

   METHOD New( nRow, nCol, bSetGet, nTotal, oWnd, nWidth, nHeight, lUpdate, lPixel, oFont, cText, ;
               lNoPercentage, nClrPane, nClrText, nClrBar, nClrBText, lDesign ) CONSTRUCTOR
   METHOD InitClass()
   METHOD Initiate( hDlg )
   METHOD SetTotal( nTotal )
   METHOD Paint()
   METHOD Display()
   METHOD EraseBkGnd() INLINE 1
ENDCLASS

METHOD New( nRow, nCol, bSetGet, nTotal, oWnd, nWidth, nHeight, lUpdate, lPixel, oFont, cText, ;
            lNoPercentage, nClrPane, nClrText, nClrBar, nClrBText, lDesign ) CLASS TMeter
   DEFAULT_NIL( nRow, 0 )
   DEFAULT_NIL( nCol, 0 )
   DEFAULT_NIL( bSetGet, {|| 1 } )
   DEFAULT_NIL( nTotal, 10 )
   DEFAULT_NIL( oWnd, GetWndDefault() )
   DEFAULT_NIL( nWidth, 300 )
   DEFAULT_NIL( nHeight, 20 )
   DEFAULT_NIL( lPixel, .F. )
   DEFAULT_NIL( lDesign, .F. )
   DEFAULT_NIL( cText, "" )
   DEFAULT_NIL( nClrBar, CLR_BLUE )
   DEFAULT_NIL( nClrBText, CLR_WHITE )
   DEFAULT_NIL( nClrText, oWnd:nClrText )
   DEFAULT_NIL( nClrPane, oWnd:nClrPane )
   ::bSetGet := bSetGet
   ::aBounds := { 0, 0, -1 }
   ::nTotal := nTotal
   ::lUpdate := ( lUpdate == .T. )
   ::cText := cText
   ::lPercentage := ! ( lNoPercentage == .T. )
   ::nClrText := nClrText
   ::nClrPane := nClrPane
   ::nClrBar := nClrBar
   ::nClrBText := nClrBText
   ::nStyle := nOr( WS_CHILD, WS_VISIBLE, iif( lDesign, nOr( WS_CLIPSIBLINGS, WS_TABSTOP ), 0 ) )
   ::Place( iif( lPixel, nRow, nRow * 14 ), iif( lPixel, nCol, nCol * 8 ), nWidth, nHeight, oWnd, lDesign )
   IF oFont != NIL
      oFont:nCount++
      ::oFont := oFont
   ENDIF
   ::Register( nOr( CS_VREDRAW, CS_HREDRAW ) )
   IF oWnd:hWnd != NIL .AND. oWnd:hWnd != 0
      ::Create()
   ELSE
      oWnd:DefControl( Self )
   ENDIF
RETURN Self

METHOD Initiate( hDlg ) CLASS TMeter
   ::Super:Initiate( hDlg )
   IF ::VarGet() == NIL
      ::VarPut( 0 )
   ENDIF
RETURN NIL

// Set is native (METERSET): it becomes TMeter's method once, when the class is made.
METHOD InitClass() CLASS TMeter
   IF Upper( ::ClassName() ) == "TMETER"
      __ClsAddMsg( __ClsGetHandleFromName( "TMETER" ), "Set", @MeterSet(), 0 )
   ENDIF
RETURN Self

METHOD SetTotal( nTotal ) CLASS TMeter
   ::nTotal := nTotal
   InvalidateRect( ::hWnd, .F. )
   SysRefresh()
RETURN NIL

METHOD Paint() CLASS TMeter
   LOCAL nValue := ::VarGet()
   IF ::nTotal == 0
      RETURN NIL
   ENDIF
   nValue := iif( ValType( nValue ) == "N", nValue, 0 )
   ::nShown := Int( Max( 0, Min( nValue, ::nTotal ) ) * 100 / ::nTotal )
   MeterPaint( ::hWnd, ::hDC, nValue, ::nTotal, ::nShown, ::cText, ::lPercentage, ::nClrPane, ::nClrText, ;
               ::nClrBar, ::nClrBText, iif( ::oFont != NIL, ::oFont:hFont, 0 ) )
RETURN NIL

METHOD Display() CLASS TMeter
   ::BeginPaint()
   ::Paint()
   ::EndPaint()
RETURN 0
