// TClipBoard: the clipboard for one format (1 text, 2 bitmap, 14 enhanced metafile). It holds
// no clipboard handle between calls: every operation opens and closes the clipboard itself.
#include "gui.ch"

CLASS TClipBoard
   DATA nFormat INIT 1
   DATA oWnd

   METHOD New( nFormat, oWnd ) CONSTRUCTOR
   METHOD Open() INLINE OpenClipboard( ::hOwner() )
   METHOD Close() INLINE CloseClipboard()
   METHOD Empty() INLINE EmptyClipboard()
   METHOD Clear()
   METHOD SetText( cText ) INLINE ::Put( 1, cText )
   METHOD SetBitmap( oBitmap ) INLINE ::Put( 2, iif( ValType( oBitmap ) == "O", oBitmap:hBitmap, oBitmap ) )
   METHOD SetMetaFile( oMeta ) INLINE ::Put( 14, oMeta )
   METHOD GetText() INLINE ::Take( 1, "" )
   METHOD GetBitmap() INLINE ::Take( 2, 0 )
   METHOD GetMetaFile() INLINE ::Take( 14, 0 )
   METHOD SetData( xData ) INLINE SetClipboardData( ::nFormat, xData )
   METHOD GetData() INLINE GetClpData( ::nFormat )
   METHOD IsEmpty()
   METHOD End() INLINE ::Close()
   METHOD Put( nFormat, xData )
   METHOD Take( nFormat, xNone )
   METHOD hOwner()
ENDCLASS

METHOD New( nFormat, oWnd ) CLASS TClipBoard
   ::nFormat := iif( nFormat == NIL, 1, nFormat )
   ::oWnd := iif( oWnd == NIL, iif( WndMain() != NIL, WndMain(), GetWndDefault() ), oWnd )
RETURN Self

METHOD hOwner() CLASS TClipBoard
   IF ::oWnd == NIL .OR. ::oWnd:hWnd == NIL
      RETURN 0
   ENDIF
RETURN ::oWnd:hWnd

METHOD Clear() CLASS TClipBoard
   IF ::Open()
      ::Empty()
      ::Close()
   ENDIF
RETURN NIL

// Opens, empties, puts the data and closes: .T. when the data was taken and the clipboard
// closed, .F. when it could not be opened.
METHOD Put( nFormat, xData ) CLASS TClipBoard
   LOCAL lTaken
   IF ! ::Open()
      RETURN .F.
   ENDIF
   ::Empty()
   lTaken := SetClipboardData( nFormat, xData )
RETURN ::Close() .AND. lTaken

METHOD Take( nFormat, xNone ) CLASS TClipBoard
   LOCAL xData
   IF ! ::Open()
      RETURN xNone
   ENDIF
   xData := GetClpData( nFormat )
   ::Close()
RETURN xData

METHOD IsEmpty() CLASS TClipBoard
   LOCAL lEmpty
   IF ! ::Open()
      RETURN .T.
   ENDIF
   lEmpty := ! IsClipboardFormatAvailable( ::nFormat )
   ::Close()
RETURN lEmpty
