// TButton: a push button, redefined from a resource id or made in code. Its action runs on a
// click, guarded so that a click during its own action is ignored.
#include "gui.ch"

CLASS TButton FROM TControl
   DATA bAction
   DATA lDefault INIT .F.
   DATA lProcessing INIT .F.

   METHOD New( nRow, nCol, cCaption, oWnd, bAction, nWidth, nHeight, nHelpId, oFont, lDefault, ;
               lPixel, lDesign, cMsg, lUpdate, bWhen, bValid, lCancel ) CONSTRUCTOR
   METHOD ReDefine( nId, bAction, oWnd, nHelpId, cMsg, lUpdate, bWhen, bValid, cPrompt, lCancel ) CONSTRUCTOR
   METHOD Initiate( hDlg )
   METHOD Click()
   METHOD KeyDown( nKey, nFlags )
   METHOD cToChar() INLINE ::Super:cToChar( "BUTTON" )
ENDCLASS

METHOD New( nRow, nCol, cCaption, oWnd, bAction, nWidth, nHeight, nHelpId, oFont, lDefault, ;
            lPixel, lDesign, cMsg, lUpdate, bWhen, bValid, lCancel ) CLASS TButton
   DEFAULT_NIL( nRow, 0 )
   DEFAULT_NIL( nCol, 0 )
   DEFAULT_NIL( cCaption, "&Button" )
   DEFAULT_NIL( oWnd, GetWndDefault() )
   DEFAULT_NIL( oFont, iif( oWnd != NIL, oWnd:oFont, NIL ) )
   DEFAULT_NIL( nHelpId, 100 )
   DEFAULT_NIL( lDefault, .F. )
   DEFAULT_NIL( lPixel, .F. )
   DEFAULT_NIL( lDesign, .F. )
   DEFAULT_NIL( lUpdate, .F. )
   DEFAULT_NIL( lCancel, .F. )
   DEFAULT_NIL( nWidth, Max( 6 * Len( cCaption ), 30 ) )
   DEFAULT_NIL( nHeight, 13 )
   ::cCaption := cCaption
   ::bAction := bAction
   ::nHelpId := nHelpId
   ::lDefault := lDefault
   ::cMsg := cMsg
   ::lUpdate := lUpdate
   ::bWhen := bWhen
   ::bValid := bValid
   ::lCancel := lCancel
   ::nStyle := nOr( WS_CHILD, WS_VISIBLE, WS_TABSTOP, iif( lDefault, BS_DEFPUSHBUTTON, 0 ), iif( lDesign, WS_CLIPSIBLINGS, 0 ) )
   ::Place( iif( lPixel, nRow, nRow * 18 ), iif( lPixel, nCol, nCol * 6 ), nWidth, nHeight, oWnd, lDesign )
   IF oFont != NIL
      oFont:nCount++
      ::oFont := oFont
   ENDIF
   IF oWnd:hWnd != NIL .AND. oWnd:hWnd != 0
      ::Create( "BUTTON" )
   ELSE
      oWnd:DefControl( Self )
   ENDIF
RETURN Self

METHOD ReDefine( nId, bAction, oWnd, nHelpId, cMsg, lUpdate, bWhen, bValid, cPrompt, lCancel ) CLASS TButton
   ::bAction := bAction
   ::nHelpId := nHelpId
   ::cMsg := cMsg
   ::lUpdate := iif( lUpdate == NIL, .F., lUpdate )
   ::bWhen := bWhen
   ::bValid := bValid
   ::cCaption := cPrompt
   ::lCancel := iif( lCancel == NIL, .F., lCancel )
   ::TControl:Redefine( nId, oWnd )
RETURN Self

METHOD Initiate( hDlg ) CLASS TButton
   ::Super:Initiate( hDlg )
   IF ::hWnd != NIL .AND. ::hWnd != 0
      ::lDefault := lAnd( GetWindowLong( ::hWnd, GWL_STYLE ), BS_DEFPUSHBUTTON )
      IF ! Empty( ::cCaption )
         SetWindowText( ::hWnd, ::cCaption )
      ENDIF
   ENDIF
RETURN NIL

METHOD Click() CLASS TButton
   IF ::lProcessing
      RETURN NIL
   ENDIF
   ::lProcessing := .T.
   IF ::bWhen != NIL .AND. ! Eval( ::bWhen, Self )
      ::lProcessing := .F.
      RETURN NIL
   ENDIF
   IF ::bAction != NIL
      Eval( ::bAction )
   ENDIF
   IF ! ::lCancel .AND. ::oWnd != NIL .AND. ::oWnd:hWnd != NIL .AND. ::oWnd:hWnd != 0
      ::oWnd:AEvalWhen()
   ENDIF
   IF ::hWnd != 0 .AND. IsWindow( ::hWnd )
      IF GetFocus() == ::hWnd
         SendMessage( ::hWnd, BM_SETSTYLE, BS_DEFPUSHBUTTON, 1 )
      ELSEIF ! ::lDefault
         SendMessage( ::hWnd, BM_SETSTYLE, BS_PUSHBUTTON, 1 )
      ENDIF
   ENDIF
   ::lProcessing := .F.
RETURN NIL

METHOD KeyDown( nKey, nFlags ) CLASS TButton
   DO CASE
   CASE nKey == VK_UP .OR. nKey == VK_LEFT
      SetFocus( GetNextDlgTabItem( GetParent( ::hWnd ), ::hWnd, .T. ) )
      RETURN 0
   CASE nKey == VK_DOWN .OR. nKey == VK_RIGHT
      IF ::bKeyDown != NIL
         Eval( ::bKeyDown, nKey, nFlags, Self )
      ELSE
         SetFocus( GetNextDlgTabItem( GetParent( ::hWnd ), ::hWnd, .F. ) )
      ENDIF
      RETURN 0
   CASE nKey == VK_RETURN
      PostMessage( ::hWnd, FM_CLICK, 0, 0 )
      RETURN 0
   ENDCASE
RETURN ::Super:KeyDown( nKey, nFlags )
