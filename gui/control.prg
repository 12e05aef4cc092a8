// TControl: child controls of a window or dialog. A control is either redefined from a dialog
// resource by its id (Redefine, bound at Initiate) or made in code: created at once when its
// owner has a window, otherwise added to the owner's in-memory template.
#include "gui.ch"

STATIC s_nLastId := 100

CLASS TControl FROM TWindow
   CLASSDATA nInitID INIT 100
   DATA bSetGet, bChange, bDragBegin, lCaptured, lDrag, lMouseDown, lUpdate
   DATA l3DLook INIT .F.
   DATA nLastRow, nLastCol, nDlgCode
   DATA lTransparent INIT .F.

   METHOD Redefine( nId, oWnd )
   METHOD Initiate( hDlg )
   METHOD HandleEvent( nMsg, nWParam, nLParam )
   METHOD Click() VIRTUAL
   METHOD Colors( hDC )
   METHOD GetNewId()
   METHOD VarGet() INLINE iif( ::bSetGet != NIL, Eval( ::bSetGet ), NIL )
   METHOD VarPut( xValue ) INLINE iif( ::bSetGet != NIL, Eval( ::bSetGet, xValue ), NIL )
   METHOD cToChar( cClass )
   METHOD Create( cClass )
   METHOD Place( nTop, nLeft, nWidth, nHeight, oWnd, lDesign )
   METHOD AdoptFont( oFont )
   METHOD Destroy()
   METHOD KillFocus( hWndGetFocus )
   METHOD HelpTopic() VIRTUAL
   METHOD KeyUp() VIRTUAL
   METHOD Display() VIRTUAL
   METHOD Change() VIRTUAL
   METHOD GXLostFocus() VIRTUAL
   METHOD SysChar() VIRTUAL
ENDCLASS

METHOD Redefine( nId, oWnd ) CLASS TControl
   DEFAULT_NIL( oWnd, GetWndDefault() )
   ::nId := nId
   ::oWnd := oWnd
   ::Register()
   oWnd:DefControl( Self )
RETURN Self

// Binds the control to the dialog's child window with its id, links and subclasses it.
METHOD Initiate( hDlg ) CLASS TControl
   DEFAULT_NIL( ::lActive, .T. )
   ::lDrag := .F.
   ::lCaptured := .F.
   ::lFocused := .F.
   DEFAULT_NIL( ::lCancel, .F. )
   DEFAULT_NIL( ::lTransparent, .F. )
   ::hWnd := GetDlgItem( hDlg, ::nId )
   IF ::hWnd == 0
      _GxGenError( 1, "No: " + Str( ::nId, 6 ) )
      RETURN NIL
   ENDIF
   EnableWindow( ::hWnd, ::lActive )
   ::Link()
   ::AdoptFont( ::oFont )
   IF ::lTransparent .AND. ::oWnd:oBrush != NIL
      ::oBrush := ::oWnd:oBrush
      ::oBrush:nCount++
   ENDIF
RETURN NIL

// Applies the control's own font, or takes the owner's (counting the reference).
METHOD AdoptFont( oFont ) CLASS TControl
   IF oFont == NIL .AND. ::oWnd != NIL .AND. ::oWnd:oFont != NIL
      oFont := ::oWnd:oFont
      oFont:nCount++
      ::oFont := oFont
   ENDIF
   IF oFont != NIL .AND. ::hWnd != 0
      SendMessage( ::hWnd, WM_SETFONT, oFont:hFont, 0 )
   ENDIF
RETURN NIL

METHOD HandleEvent( nMsg, nWParam, nLParam ) CLASS TControl
   DO CASE
   CASE nMsg == FM_CLICK
      RETURN ::Click()
   CASE nMsg == FM_COLORS
      RETURN ::Colors( nWParam )
   CASE nMsg == WM_PAINT
      RETURN ::Display()
   CASE nMsg == WM_KILLFOCUS
      RETURN ::KillFocus( nWParam )
   CASE nMsg == WM_HELP
      RETURN ::HelpTopic()
   CASE nMsg == WM_CTLCOLOR
      RETURN ::CtlColor( nLParam, nWParam )
   CASE nMsg == WM_KEYUP
      RETURN ::KeyUp( nWParam, nLParam )
   CASE nMsg == FM_CHANGE
      RETURN ::Change()
   CASE nMsg == FM_LOSTFOCUS
      RETURN ::GXLostFocus( nWParam )
   CASE nMsg == WM_SYSCOMMAND
      RETURN ::SysCommand( nWParam, nAnd( nLParam, 0xFFFF ), Int( nLParam / 65536 ) )
   CASE nMsg == WM_SYSCHAR
      RETURN ::SysChar( nWParam, nLParam )
   ENDCASE
RETURN ::Super:HandleEvent( nMsg, nWParam, nLParam )

// Message 2054: sets the colours into the device context and answers the brush.
METHOD Colors( hDC ) CLASS TControl
   DEFAULT_NIL( ::nClrText, GetTextColor( hDC ) )
   DEFAULT_NIL( ::nClrPane, GetBkColor( hDC ) )
   IF ::oBrush == NIL
      ::oBrush := TBrush():New( , ::nClrPane )
   ENDIF
   SetTextColor( hDC, ::nClrText )
   SetBkColor( hDC, ::nClrPane )
   IF ::lTransparent
      SetBkMode( hDC, 1 )
   ENDIF
RETURN ::oBrush:hBrush

// Ids from 101 upwards, wrapping to 100 after 30000; one counter for every kind of control.
METHOD GetNewId() CLASS TControl
   s_nLastId++
   IF s_nLastId > 30000
      s_nLastId := 100
   ENDIF
   ::nInitID := s_nLastId
RETURN s_nLastId

// The control's DLGITEMTEMPLATE, at twice the scale of the dialog's own coordinates.
METHOD cToChar( cClass ) CLASS TControl
   LOCAL nUnits := GetDialogBaseUnits(), nBx := nAnd( nUnits, 0xFFFF ), nBy := Int( nUnits / 65536 )
   DEFAULT_NIL( cClass, ::ClassName() )
   DEFAULT_NIL( ::nId, ::GetNewId() )
   DEFAULT_NIL( ::nStyle, nOr( WS_CHILD, WS_VISIBLE, WS_TABSTOP ) )
RETURN CCtrl2Chr( Int( 16 * ::nTop / nBy ), Int( 8 * ::nLeft / nBx ), Int( 16 * ::nBottom / nBy ), ;
                  Int( 8 * ::nRight / nBx ), ::nId, ::nStyle, cClass, iif( ::cCaption == NIL, "", ::cCaption ) )

// Position in pixels and owner of a control made in code; then created at once or deferred.
METHOD Place( nTop, nLeft, nWidth, nHeight, oWnd, lDesign ) CLASS TControl
   ::nTop := Int( nTop )
   ::nLeft := Int( nLeft )
   ::nBottom := ::nTop + Int( nHeight ) - 1
   ::nRight := ::nLeft + Int( nWidth ) - 1
   ::oWnd := oWnd
   ::lDesign := lDesign
   ::nId := ::GetNewId()
RETURN NIL

// Creates the control's window now (its owner has one) and adds it to the owner's controls.
METHOD Create( cClass ) CLASS TControl
   DEFAULT_NIL( cClass, ::ClassName() )
   ::hWnd := CreateWindow( cClass, iif( ::cCaption == NIL, "", ::cCaption ), ::nStyle, ::nLeft, ::nTop, ;
                           ::nRight - ::nLeft + 1, ::nBottom - ::nTop + 1, ::oWnd:hWnd, ::nId, 0 )
   IF ::hWnd == 0
      _GxGenError( 6, "Class: " + cClass )
      RETURN NIL
   ENDIF
   AAdd( ::oWnd:aControls, Self )
   ::Link()
   ::AdoptFont( ::oFont )
RETURN NIL

METHOD Destroy() CLASS TControl
   IF ::oFont != NIL
      ::oFont:End()
      ::oFont := NIL
   ENDIF
   IF ::oBrush != NIL
      ::oBrush:End()
      ::oBrush := NIL
   ENDIF
RETURN ::Super:Destroy()

METHOD KillFocus( hWndGetFocus ) CLASS TControl
   ::lFocused := .F.
   IF ::bLostFocus != NIL
      Eval( ::bLostFocus, hWndGetFocus, Self )
   ENDIF
RETURN NIL
