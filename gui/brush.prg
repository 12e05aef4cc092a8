// TBrush: solid brushes shared by reference count: a brush of a colour already listed is the
// listed object with its count raised; End lowers the count and at zero deletes the handle.
#include "gui.ch"

STATIC s_aBrushes := {}

CLASS TBrush
   DATA hBrush INIT 0
   DATA nRGBColor
   DATA nCount INIT 1

   METHOD New( cStyle, nRGBColor ) CONSTRUCTOR
   METHOD End()
ENDCLASS

METHOD New( cStyle, nRGBColor ) CLASS TBrush
   LOCAL nAt
   DEFAULT_NIL( nRGBColor, GetSysColor( COLOR_WINDOW ) )
   nAt := AScan( s_aBrushes, {| o | o:nRGBColor == nRGBColor } )
   IF nAt > 0
      s_aBrushes[ nAt ]:nCount++
      RETURN s_aBrushes[ nAt ]
   ENDIF
   ::nRGBColor := nRGBColor
   ::hBrush := CreateSolidBrush( nRGBColor )
   AAdd( s_aBrushes, Self )
RETURN Self

METHOD End() CLASS TBrush
   LOCAL nAt
   IF ::nCount <= 0
      RETURN NIL
   ENDIF
   ::nCount--
   IF ::nCount == 0
      DeleteObject( ::hBrush )
      ::hBrush := 0
      nAt := AScan( s_aBrushes, {| o | o == Self } )
      IF nAt > 0
         ADel( s_aBrushes, nAt )
         ASize( s_aBrushes, Len( s_aBrushes ) - 1 )
      ENDIF
   ENDIF
RETURN NIL
