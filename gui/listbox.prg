// TListBox: a list of texts; bSetGet holds the selected text. Items can be given up front or
// added later; a change of selection updates bSetGet and runs bChange.
#include "gui.ch"

#define LB_ADDSTRING     384
#define LB_RESETCONTENT  388
#define LB_SETCURSEL     390
#define LB_GETCURSEL     392
#define LB_GETCOUNT      395
#define LBS_NOTIFY         1

CLASS TListBox FROM TControl
   DATA aItems

   METHOD New( nRow, nCol, bSetGet, aItems, nWidth, nHeight, bChange, oWnd, bValid, nClrFore, nClrBack, ;
               lPixel, lDesign, bLDblClicked, oFont, cMsg, lUpdate, bWhen ) CONSTRUCTOR
   METHOD Initiate( hDlg )
   METHOD Fill()
   METHOD Add( cItem )
   METHOD Select( nItem )
   METHOD GetPos()
   METHOD Len() INLINE Len( ::aItems )
   METHOD Change()
   METHOD cToChar() INLINE ::Super:cToChar( "LISTBOX" )
ENDCLASS

METHOD New( nRow, nCol, bSetGet, aItems, nWidth, nHeight, bChange, oWnd, bValid, nClrFore, nClrBack, ;
            lPixel, lDesign, bLDblClicked, oFont, cMsg, lUpdate, bWhen ) CLASS TListBox
   DEFAULT_NIL( nRow, 0 )
   DEFAULT_NIL( nCol, 0 )
   DEFAULT_NIL( aItems, {} )
   DEFAULT_NIL( nWidth, 40 )
   DEFAULT_NIL( nHeight, 40 )
   DEFAULT_NIL( oWnd, GetWndDefault() )
   DEFAULT_NIL( lPixel, .F. )
   DEFAULT_NIL( lDesign, .F. )
   ::bSetGet := bSetGet
   ::aItems := aItems
   ::bChange := bChange
   ::bValid := bValid
   ::bLDblClick := bLDblClicked
   ::cMsg := cMsg
   ::lUpdate := ( lUpdate == .T. )
   ::bWhen := bWhen
   ::nClrText := iif( nClrFore == NIL, GetSysColor( 8 ), nClrFore )
   ::nClrPane := iif( nClrBack == NIL, GetSysColor( COLOR_WINDOW ), nClrBack )
   ::nStyle := nOr( WS_CHILD, WS_VISIBLE, WS_TABSTOP, WS_BORDER, WS_VSCROLL, LBS_NOTIFY )
   ::Place( iif( lPixel, nRow, nRow * 15 ), iif( lPixel, nCol, nCol * 6 ), nWidth, nHeight, oWnd, lDesign )
   IF oFont != NIL
      oFont:nCount++
      ::oFont := oFont
   ENDIF
   IF oWnd:hWnd != NIL .AND. oWnd:hWnd != 0
      ::Create( "LISTBOX" )
      ::Fill()
   ELSE
      oWnd:DefControl( Self )
   ENDIF
RETURN Self

METHOD Initiate( hDlg ) CLASS TListBox
   ::Super:Initiate( hDlg )
   ::Fill()
RETURN NIL

// Puts the items into the control and selects the one bSetGet holds (else the first).
METHOD Fill() CLASS TListBox
   LOCAL cItem, xValue := ::VarGet(), nAt
   IF ::hWnd == NIL .OR. ::hWnd == 0
      RETURN NIL
   ENDIF
   SendMessage( ::hWnd, LB_RESETCONTENT, 0, 0 )
   FOR EACH cItem IN ::aItems
      ListBoxAdd( ::hWnd, cValToChar( cItem ) )
   NEXT
   nAt := iif( ValType( xValue ) == "C", AScan( ::aItems, {| c | c == xValue } ), 0 )
   ::Select( Max( nAt, 1 ) )
RETURN NIL

METHOD Add( cItem ) CLASS TListBox
   AAdd( ::aItems, cItem )
   IF ::hWnd != NIL .AND. ::hWnd != 0
      ListBoxAdd( ::hWnd, cValToChar( cItem ) )
   ENDIF
RETURN NIL

METHOD Select( nItem ) CLASS TListBox
   IF nItem >= 1 .AND. nItem <= Len( ::aItems )
      SendMessage( ::hWnd, LB_SETCURSEL, nItem - 1, 0 )
      ::VarPut( ::aItems[ nItem ] )
   ENDIF
RETURN NIL

METHOD GetPos() CLASS TListBox
   LOCAL nPos := SendMessage( ::hWnd, LB_GETCURSEL, 0, 0 )
RETURN iif( nPos < 0 .OR. nPos > 65535, 0, nPos + 1 )

METHOD Change() CLASS TListBox
   LOCAL nPos := ::GetPos()
   IF nPos > 0
      ::VarPut( ::aItems[ nPos ] )
   ENDIF
   IF ::bChange != NIL
      Eval( ::bChange, Self )
   ENDIF
RETURN NIL
