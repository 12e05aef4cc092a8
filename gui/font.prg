// TFont: fonts shared by reference count. A request equal in every attribute to a listed font
// returns that object with its count raised; End lowers the count and at zero deletes the
// handle (stock fonts are never deleted) and takes the font off the list.
#include "gui.ch"

STATIC s_aFonts := {}

CLASS TFont
   DATA hFont INIT 0
   DATA cFaceName
   DATA nHeight, nWidth, nEscapement, nOrientation, nWeight, nCharSet
   DATA nOutPrecision, nClipPrecision, nQuality, nPitchFamily
   DATA lBold, lItalic, lUnderline, lStrikeOut
   DATA nCount INIT 1
   DATA lStock INIT .F.
   DATA lOwned INIT .T.
   DATA hOldFont

   METHOD New( cFaceName, nWidth, nHeight, lFromUser, lBold, nEscapement, nOrientation, nWeight, ;
               lItalic, lUnderline, lStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, ;
               oDevice, nPitchFamily ) CONSTRUCTOR
   METHOD FromHandle( hFont ) CONSTRUCTOR
   METHOD End()
   METHOD Release() INLINE ::End()
   METHOD Activate( hDC ) INLINE ( ::hOldFont := SelectObject( hDC, ::hFont ), ::hFont )
   METHOD DeActivate( hDC ) INLINE ( SelectObject( hDC, ::hOldFont ), ::hOldFont := NIL )
   METHOD Same( oFont )
ENDCLASS

METHOD New( cFaceName, nWidth, nHeight, lFromUser, lBold, nEscapement, nOrientation, nWeight, ;
            lItalic, lUnderline, lStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, ;
            oDevice, nPitchFamily ) CLASS TFont
   LOCAL nAt, nStock
   DEFAULT_NIL( cFaceName, "SYSTEM_FONT" )
   DEFAULT_NIL( nHeight, 14 )
   ::cFaceName := cFaceName
   ::nWidth := iif( nWidth == NIL, 0, nWidth )
   ::nHeight := nHeight
   ::nEscapement := iif( nEscapement == NIL, 0, nEscapement )
   ::nOrientation := iif( nOrientation == NIL, 0, nOrientation )
   ::nWeight := iif( nWeight == NIL, 0, nWeight )
   ::nCharSet := iif( nCharSet == NIL, 0, nCharSet )
   ::nOutPrecision := iif( nOutPrecision == NIL, 0, nOutPrecision )
   ::nClipPrecision := iif( nClipPrecision == NIL, 0, nClipPrecision )
   ::nQuality := iif( nQuality == NIL, 0, nQuality )
   ::nPitchFamily := iif( nPitchFamily == NIL, 0, nPitchFamily )
   ::lBold := ( lBold == .T. )
   ::lItalic := ( lItalic == .T. )
   ::lUnderline := ( lUnderline == .T. )
   ::lStrikeOut := ( lStrikeOut == .T. )
   IF Upper( cFaceName ) == "SYSTAHOMA" .AND. nHeight < 0 .AND. nHeight > -12
      ::nHeight := -12
      ::cFaceName := "TAHOMA"
   ENDIF
   IF ::lBold
      ::nWeight := nOr( ::nWeight, 700 )
   ENDIF
   IF oDevice != NIL
      ::nHeight := Int( ::nHeight * oDevice:nLogPixelY() / 72 )
   ENDIF
   nAt := AScan( s_aFonts, {| o | o:Same( Self ) } )
   IF nAt > 0
      s_aFonts[ nAt ]:nCount++
      RETURN s_aFonts[ nAt ]
   ENDIF
   nStock := AScan( { "OEM_FIXED_FONT", "ANSI_FIXED_FONT", "ANSI_VAR_FONT", "SYSTEM_FONT", ;
                      "DEVICE_DEFAULT_FONT", "", "SYSTEM_FIXED_FONT" }, Upper( ::cFaceName ) )
   IF nStock > 0
      ::hFont := GetStockObject( nStock + 9 )
      ::lStock := .T.
   ELSE
      ::hFont := CreateFont( ::nHeight, ::nWidth, ::nEscapement, ::nOrientation, ::nWeight, ::lItalic, ;
                             ::lUnderline, ::lStrikeOut, ::nCharSet, ::nOutPrecision, ::nClipPrecision, ;
                             ::nQuality, ::nPitchFamily, ::cFaceName )
   ENDIF
   AAdd( s_aFonts, Self )
RETURN Self

// A font object for a handle the library does not own (a dialog's own font): never deleted.
METHOD FromHandle( hFont ) CLASS TFont
   ::hFont := hFont
   ::lOwned := .F.
RETURN Self

METHOD Same( oFont ) CLASS TFont
RETURN ::nHeight == oFont:nHeight .AND. ::nWidth == oFont:nWidth .AND. ::nEscapement == oFont:nEscapement .AND. ;
       ::nOrientation == oFont:nOrientation .AND. ::nWeight == oFont:nWeight .AND. ::lItalic == oFont:lItalic .AND. ;
       ::lUnderline == oFont:lUnderline .AND. ::lBold == oFont:lBold .AND. ::lStrikeOut == oFont:lStrikeOut .AND. ;
       ::nCharSet == oFont:nCharSet .AND. ::nOutPrecision == oFont:nOutPrecision .AND. ;
       ::nClipPrecision == oFont:nClipPrecision .AND. ::nQuality == oFont:nQuality .AND. ;
       ::nPitchFamily == oFont:nPitchFamily .AND. Upper( ::cFaceName ) == Upper( oFont:cFaceName )

METHOD End() CLASS TFont
   LOCAL nAt
   IF ::nCount <= 0
      RETURN NIL
   ENDIF
   ::nCount--
   IF ::nCount == 0
      IF ::lOwned .AND. ! ::lStock .AND. ::hFont != 0
         DeleteObject( ::hFont )
      ENDIF
      ::hFont := 0
      nAt := AScan( s_aFonts, {| o | o == Self } )
      IF nAt > 0
         ADel( s_aFonts, nAt )
         ASize( s_aFonts, Len( s_aFonts ) - 1 )
      ENDIF
   ENDIF
RETURN NIL

// The number of fonts on the shared list (for tests and reports).
FUNCTION NFONTSLISTED()
RETURN Len( s_aFonts )
