// TSay: static text showing the value of a block, formatted by a picture or converted to text.
#include "gui.ch"

CLASS TSay FROM TControl
   DATA l3D INIT .F.
   DATA cPicture, bGet
   DATA lWantClick INIT .F.

   METHOD New( nRow, nCol, bText, oWnd, cPicture, oFont, lCentered, lRight, lBorder, lPixels, ;
               nClrText, nClrBack, nWidth, nHeight, lDesign, lUpdate, lBlackRect, lGrayRect, lWhiteRect ) CONSTRUCTOR
   METHOD Caption( xValue )
   METHOD SetText( xValue )
   METHOD VarPut( xValue ) INLINE ::SetText( xValue )
   METHOD Refresh() INLINE ::SetText( Eval( ::bGet ) )
   METHOD cToChar() INLINE ::Super:cToChar( "STATIC" )
ENDCLASS

METHOD New( nRow, nCol, bText, oWnd, cPicture, oFont, lCentered, lRight, lBorder, lPixels, ;
            nClrText, nClrBack, nWidth, nHeight, lDesign, lUpdate, lBlackRect, lGrayRect, lWhiteRect ) CLASS TSay
   LOCAL nStyle := nOr( WS_CHILD, WS_VISIBLE )
   DEFAULT_NIL( nRow, 0 )
   DEFAULT_NIL( nCol, 0 )
   DEFAULT_NIL( bText, {|| "" } )
   DEFAULT_NIL( oWnd, GetWndDefault() )
   DEFAULT_NIL( lPixels, .F. )
   DEFAULT_NIL( lDesign, .F. )
   DEFAULT_NIL( nClrText, oWnd:nClrText )
   DEFAULT_NIL( nClrBack, iif( Upper( oWnd:ClassName() ) == "TWINDOW", oWnd:nClrPane, GetSysColor( COLOR_BTNFACE ) ) )
   ::bGet := bText
   ::cPicture := cPicture
   ::lUpdate := ( lUpdate == .T. )
   ::cCaption := ::Caption( Eval( bText ) )
   DEFAULT_NIL( oFont, oWnd:oFont )
   DEFAULT_NIL( nHeight, iif( oFont != NIL .AND. oFont:nHeight != NIL, Abs( oFont:nHeight ), 15 ) )
   DEFAULT_NIL( nWidth, 6 * Len( ::cCaption ) - 4 )
   DO CASE
   CASE lCentered == .T.
      nStyle := nOr( nStyle, SS_CENTER )
   CASE lRight == .T.
      nStyle := nOr( nStyle, SS_RIGHT )
   ENDCASE
   nStyle := nOr( nStyle, iif( lBorder == .T., WS_BORDER, 0 ), iif( lDesign, nOr( WS_CLIPSIBLINGS, WS_TABSTOP ), 0 ), ;
                  iif( lBlackRect == .T., 4, 0 ), iif( lGrayRect == .T., 5, 0 ), iif( lWhiteRect == .T., 6, 0 ) )
   ::nStyle := nStyle
   ::Place( iif( lPixels, nRow, nRow * 15 + 2 ), iif( lPixels, nCol, nCol * 6 ), nWidth, nHeight, oWnd, lDesign )
   ::nClrText := nClrText
   ::nClrPane := nClrBack
   IF oFont != NIL
      oFont:nCount++
      ::oFont := oFont
   ENDIF
   IF oWnd:hWnd != NIL .AND. oWnd:hWnd != 0
      ::Create( "STATIC" )
   ELSE
      oWnd:DefControl( Self )
   ENDIF
RETURN Self

METHOD Caption( xValue ) CLASS TSay
   IF ::cPicture != NIL
      RETURN Transform( xValue, ::cPicture )
   ENDIF
RETURN cValToChar( xValue )

METHOD SetText( xValue ) CLASS TSay
   ::cCaption := ::Caption( xValue )
   IF ::hWnd != NIL .AND. ::hWnd != 0
      IF ::lTransparent .AND. ::oWnd != NIL
         InvalidateRect( ::oWnd:hWnd, .T. )
      ENDIF
      SetWindowText( ::hWnd, ::cCaption )
   ENDIF
RETURN NIL
