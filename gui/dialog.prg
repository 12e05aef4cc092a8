// TDialog: dialog boxes from a resource or from a template built in memory out of the dialog's
// controls, activated modal (DIALOGBOX*) or modeless (CREATEDLG*), ended with a result.
//
// Life of a dialog object:  New -> Activate -> (WM_INITDIALOG) Initiate -> messages
//                           -> End( nResult ) -> the modal call returns, Activate returns
#include "gui.ch"

STATIC s_nActivating := 0

CLASS TDialog FROM TWindow
   CLASSDATA lRegistered INIT .F.
   DATA cResName, cResData, hResources, lCentered, lModal, lModify, bStart
   DATA lHelpIcon INIT .F.
   DATA lResize16 INIT .F.
   DATA lTransparent INIT .F.

   METHOD New( nTop, nLeft, nBottom, nRight, cCaption, cResName, hResources, lVbx, nStyle, ;
               nClrText, nClrBack, oBrush, oWnd, lPixels, oIcon, oFont, nHelpId, nWidth, nHeight, lTransparent ) CONSTRUCTOR
   METHOD Activate( bLClicked, bMoved, bPainted, lCentered, bValid, lModal, bInit, bRClicked, bWhen, lResize16 )
   METHOD Initiate( hCtlFocus, hWnd )
   METHOD HandleEvent( nMsg, nWParam, nLParam )
   METHOD Command( nWParam, nLParam )
   METHOD DefControl( oControl )
   METHOD ControlById( nId )
   METHOD End( nResult )
   METHOD Close()
   METHOD KeyDown( nKey, nFlags )
   METHOD EraseBkGnd( hDC )
   METHOD Display()
   METHOD PrintClient() INLINE 1
   METHOD Destroy()
   METHOD cToChar( hWndOwner )
   METHOD GetItem( nId ) INLINE GetDlgItem( ::hWnd, nId )
ENDCLASS

METHOD New( nTop, nLeft, nBottom, nRight, cCaption, cResName, hResources, lVbx, nStyle, ;
            nClrText, nClrBack, oBrush, oWnd, lPixels, oIcon, oFont, nHelpId, nWidth, nHeight, lTransparent ) CLASS TDialog
   DEFAULT_NIL( hResources, 0 )
   DEFAULT_NIL( lVbx, .F. )
   DEFAULT_NIL( nClrText, GetSysColor( COLOR_BTNTEXT ) )
   DEFAULT_NIL( nClrBack, GetSysColor( COLOR_BTNFACE ) )
   DEFAULT_NIL( lPixels, .F. )
   DEFAULT_NIL( nTop, 0 )
   DEFAULT_NIL( nLeft, 0 )
   DEFAULT_NIL( nBottom, 10 )
   DEFAULT_NIL( nRight, 40 )
   DEFAULT_NIL( nWidth, 0 )
   DEFAULT_NIL( nHeight, 0 )
   DEFAULT_NIL( lTransparent, .F. )
   DEFAULT_NIL( nStyle, nOr( WS_POPUP, WS_CAPTION, WS_SYSMENU, DS_MODALFRAME ) )
   IF nWidth != 0 .OR. nHeight != 0
      lPixels := .T.
      nBottom := nHeight
      nRight := nWidth
   ENDIF
   ::aControls := {}
   ::cResName := cResName
   ::cCaption := cCaption
   ::hResources := hResources
   ::lVbx := lVbx
   ::lModify := .T.
   ::lVisible := .F.
   ::nResult := 0
   ::nStyle := nStyle
   ::oWnd := oWnd
   ::oIcon := oIcon
   IF oFont != NIL
      oFont:nCount++
   ENDIF
   ::oFont := oFont
   ::nLastKey := 0
   ::nHelpId := nHelpId
   ::lResize16 := .F.
   ::lTransparent := lTransparent
   ::SetColor( nClrText, nClrBack, oBrush )
   IF lPixels
      ::nTop := nTop
      ::nLeft := nLeft
      ::nBottom := nBottom
      ::nRight := nRight
   ELSE
      ::nTop := Int( nTop * 15.1 )
      ::nLeft := Int( nLeft * 7.9 )
      ::nBottom := Int( nBottom * 15.1 )
      ::nRight := Int( nRight * 7.9 )
   ENDIF
   ::Register( nOr( CS_VREDRAW, CS_HREDRAW ) )
   SetWndDefault( Self )
RETURN Self

METHOD Activate( bLClicked, bMoved, bPainted, lCentered, bValid, lModal, bInit, bRClicked, bWhen, lResize16 ) CLASS TDialog
   DEFAULT_NIL( lCentered, .F. )
   DEFAULT_NIL( lModal, .T. )
   DEFAULT_NIL( lResize16, .F. )
   DEFAULT_NIL( ::hWnd, 0 )
   ::nLastKey := 0
   s_nActivating++
   ::bLClicked := bLClicked
   ::bMoved := bMoved
   ::bPainted := bPainted
   ::lCentered := lCentered
   ::bValid := bValid
   ::lModal := lModal
   ::bInit := bInit
   ::bRClicked := bRClicked
   ::bWhen := bWhen
   ::lResize16 := lResize16
   _GxShow( Self, _GxOwner( Self ) )
   s_nActivating--
RETURN NIL

// The owner: the owner object's window; else the active window while another dialog is being
// activated or a modal loop runs; else the main window.
STATIC FUNCTION _GxOwner( oDlg )
   DO CASE
   CASE oDlg:oWnd != NIL
      RETURN oDlg:oWnd:hWnd
   CASE s_nActivating > 1 .OR. LWRunning()
      RETURN GetActiveWindow()
   CASE WndMain() != NIL
      RETURN WndMain():hWnd
   ENDCASE
RETURN 0

STATIC FUNCTION _GxShow( oDlg, hOwner )
   oDlg:nResult := NIL
   oDlg:lValidating := .F.
   oDlg:lVisible := .T.
   IF oDlg:bWhen != NIL .AND. ! Eval( oDlg:bWhen, oDlg )
      oDlg:nResult := IDCANCEL
      oDlg:lVisible := .F.
      RETURN NIL
   ENDIF
   IF ! oDlg:lModal
      RETURN _GxActivateModeless( oDlg, hOwner )
   ENDIF
   IF Empty( oDlg:cResName )
      oDlg:nResult := DialogBoxIndirect( 0, iif( oDlg:cResData != NIL, oDlg:cResData, oDlg:cToChar( hOwner ) ), hOwner, oDlg )
   ELSE
      oDlg:nResult := DialogBox( oDlg:hResources, oDlg:cResName, hOwner, oDlg )
   ENDIF
   oDlg:lVisible := .F.
   IF oDlg:nResult == 65535
      _GxGenError( 3, _GxDialogName( oDlg ) )
   ENDIF
RETURN NIL

STATIC FUNCTION _GxActivateModeless( oDlg, hOwner )
   IF ! Empty( oDlg:aControls ) .AND. ! CanRegDialog()
      MsgAlert( "Not possible to create more non-modal Dialogs" )
      RETURN NIL
   ENDIF
   IF Empty( oDlg:cResName )
      oDlg:hWnd := CreateDlgIndirect( 0, iif( oDlg:cResData != NIL, oDlg:cResData, oDlg:cToChar( hOwner ) ), hOwner, oDlg )
   ELSE
      oDlg:hWnd := CreateDlg( oDlg:hResources, oDlg:cResName, hOwner, oDlg )
   ENDIF
   IF oDlg:hWnd == 0
      _GxGenError( 3, _GxDialogName( oDlg ) )
      RETURN NIL
   ENDIF
   IF ! Empty( oDlg:aControls ) .AND. ! RegDialog( oDlg:hWnd )
      SendMessage( oDlg:hWnd, WM_CLOSE, 0, 0 )
      MsgAlert( "Not possible to create more non-modal Dialogs" )
      RETURN NIL
   ENDIF
   ShowWindow( oDlg:hWnd, 5 )
RETURN NIL

// The operation text of "Cannot create Dialog Box": the resource name, or the title.
STATIC FUNCTION _GxDialogName( oDlg )
   LOCAL cName := Chr( 13 ) + Chr( 10 ) + Space( 22 )
   IF Empty( oDlg:cResName )
      RETURN cName + "Title: " + iif( oDlg:cCaption == NIL, "", oDlg:cCaption )
   ENDIF
RETURN cName + "Resource: " + iif( ValType( oDlg:cResName ) == "N", LTrim( Str( oDlg:cResName ) ), oDlg:cResName )

METHOD Initiate( hCtlFocus, hWnd ) CLASS TDialog
   LOCAL oCtrl, lFocus := .T., nFont
   ::hWnd := hWnd
   IF ! ::lModal
      ::Link()
   ENDIF
   IF ::oFont == NIL
      nFont := SendMessage( hWnd, WM_GETFONT, 0, 0 )
      ::oFont := TFont():FromHandle( nFont )
   ELSE
      SendMessage( hWnd, WM_SETFONT, ::oFont:hFont, 0 )
   ENDIF
   IF ::lTransparent
      FOR EACH oCtrl IN ::aControls
         IF ! Upper( oCtrl:ClassName() ) $ "TGET;TMULTIGET;TBTNBMP;TCOMBOBOX;TWBROWSE;TCBROWSE;TXBROWSE;TLISTBOX"
            oCtrl:lTransparent := .T.
         ENDIF
      NEXT
   ENDIF
   FOR EACH oCtrl IN ::aControls
      oCtrl:Initiate( hWnd )
   NEXT
   IF ::lResize16 .AND. ! Empty( ::cResName )
      _GxResize16( hWnd )
   ENDIF
   IF ::lCentered
      WndCenter( hWnd, GetParent( hWnd ) )
   ELSEIF Empty( ::cResName )
      _GxMoveTo( hWnd, ::nTop, ::nLeft )
   ENDIF
   IF ::cCaption != NIL
      SetWindowText( hWnd, ::cCaption )
   ENDIF
   IF ! Empty( ::cResName )
      ::nStyle := GetWindowLong( hWnd, GWL_STYLE )
   ENDIF
   IF ::bInit != NIL
      lFocus := Eval( ::bInit, Self )
      lFocus := ( ValType( lFocus ) != "L" .OR. lFocus )
   ENDIF
   ::AEvalWhen()
RETURN lFocus

// Widens a resource dialog and its children by 1.16668 (x and width; y and height unchanged).
STATIC FUNCTION _GxResize16( hWnd )
   LOCAL aRect := GetWindowRect( hWnd ), aKids := GetChildWindows( hWnd ), hKid, aKid, aOrigin := ClientOrigin( hWnd )
   MoveWindow( hWnd, aRect[ 1 ], aRect[ 2 ], Int( ( aRect[ 4 ] - aRect[ 2 ] ) * 1.16668 ), aRect[ 3 ] - aRect[ 1 ] )
   FOR EACH hKid IN aKids
      aKid := GetWindowRect( hKid )
      MoveWindow( hKid, aKid[ 1 ] - aOrigin[ 1 ], Int( ( aKid[ 2 ] - aOrigin[ 2 ] ) * 1.16668 ), ;
                  Int( ( aKid[ 4 ] - aKid[ 2 ] ) * 1.16668 ), aKid[ 3 ] - aKid[ 1 ] )
   NEXT
RETURN NIL

STATIC FUNCTION _GxMoveTo( hWnd, nTop, nLeft )
   LOCAL aRect := GetWindowRect( hWnd )
   MoveWindow( hWnd, nTop, nLeft, aRect[ 4 ] - aRect[ 2 ], aRect[ 3 ] - aRect[ 1 ] )
RETURN NIL

METHOD HandleEvent( nMsg, nWParam, nLParam ) CLASS TDialog
   DO CASE
   CASE nMsg == WM_INITDIALOG
      RETURN ::Initiate( nWParam, nLParam )
   CASE nMsg == WM_PAINT
      RETURN ::Display()
   CASE nMsg == WM_PRINTCLIENT
      RETURN ::PrintClient( nWParam )
   CASE nMsg == WM_LBUTTONDOWN .AND. ::lHelpIcon
      RETURN ::Help()
   ENDCASE
RETURN ::Super:HandleEvent( nMsg, nWParam, nLParam )

METHOD Command( nWParam, nLParam ) CLASS TDialog
   LOCAL nNotify := Int( nWParam / 65536 ), nId := nAnd( nWParam, 0xFFFF ), oCtrl
   IF nId == 0
      RETURN NIL
   ENDIF
   oCtrl := ::ControlById( nId )
   DO CASE
   CASE nNotify == 0 .AND. nLParam != 0 .AND. nId != IDCANCEL
      IF oCtrl != NIL
         SendMessage( oCtrl:hWnd, FM_CLICK, 0, 0 )
      ELSEIF nId == IDOK
         ::End( IDOK )
      ENDIF
   CASE nNotify == 0
      IF nId == IDOK .AND. nLParam == 0
         SetFocus( GetNextDlgTabItem( ::hWnd, GetFocus(), .F. ) )
      ELSEIF oCtrl != NIL
         SendMessage( oCtrl:hWnd, FM_CLICK, 0, 0 )
      ELSE
         ::End( IDCANCEL )
      ENDIF
   CASE nNotify == 1 .AND. oCtrl != NIL
      SendMessage( oCtrl:hWnd, FM_CHANGE, 0, 0 )
   CASE nNotify == 8 .AND. oCtrl != NIL
      SendMessage( oCtrl:hWnd, FM_CLOSEUP, 0, 0 )
   OTHERWISE
      RETURN NIL
   ENDCASE
RETURN .T.

METHOD ControlById( nId ) CLASS TDialog
   LOCAL nAt := AScan( ::aControls, {| o | o:nId == nId } )
RETURN iif( nAt == 0, NIL, ::aControls[ nAt ] )

METHOD DefControl( oControl ) CLASS TDialog
   IF oControl:nId == NIL
      oControl:nId := oControl:GetNewId()
   ENDIF
   IF ::ControlById( oControl:nId ) != NIL
      _GxGenError( 2, "No: " + Str( oControl:nId, 6 ) )
      RETURN NIL
   ENDIF
   AAdd( ::aControls, oControl )
   oControl:hWnd := 0
RETURN NIL

METHOD End( nResult ) CLASS TDialog
   DEFAULT_NIL( nResult, IDCANCEL )
   IF ::lModal == .F.
      PostMessage( ::hWnd, WM_CLOSE, nResult, 0 )
   ELSE
      IF ValType( ::bValid ) == "B" .AND. ! Eval( ::bValid, Self )
         RETURN .F.
      ENDIF
      ::nResult := nResult
      EndDialog( ::hWnd, nResult )
      ::hWnd := 0
   ENDIF
   SysRefresh()
   PV_GCALL()
RETURN .T.

// Modeless dialogs close through WM_CLOSE: the valid block may keep them open.
METHOD Close( nResult ) CLASS TDialog
   IF ::lModal != .F.
      RETURN NIL
   ENDIF
   IF ValType( ::bValid ) == "B" .AND. ! Eval( ::bValid, Self )
      RETURN 0
   ENDIF
   ::nResult := nResult
   ShowWindow( ::hWnd, 0 )
   DestroyWindow( ::hWnd )
RETURN 0

METHOD KeyDown( nKey, nFlags ) CLASS TDialog
   IF nKey == VK_ESCAPE .AND. ( ::oWnd == NIL .OR. ::oWnd:IsDerivedFrom( "TDIALOG" ) )
      ::End( IDCANCEL )
      RETURN 0
   ENDIF
RETURN ::Super:KeyDown( nKey, nFlags )

METHOD EraseBkGnd( hDC ) CLASS TDialog
   IF ::bEraseBkGnd != NIL
      RETURN Eval( ::bEraseBkGnd, hDC )
   ENDIF
   IF ::oBrush != NIL
      FillRect( hDC, GetClientRect( ::hWnd ), ::oBrush:hBrush )
   ENDIF
RETURN 1

// Painting: the paint block, then (once, after the first paint) the start block.
METHOD Display() CLASS TDialog
   LOCAL bStart
   ::BeginPaint()
   IF ::bPainted != NIL
      Eval( ::bPainted, ::hDC, ::cPS, Self )
   ENDIF
   ::EndPaint()
   IF ::bStart != NIL
      bStart := ::bStart
      ::bStart := NIL
      Eval( bStart, Self )
   ENDIF
RETURN 0

METHOD Destroy() CLASS TDialog
   IF ::oBrush != NIL
      ::oBrush:End()
      ::oBrush := NIL
   ENDIF
   IF ::oFont != NIL
      ::oFont:End()
      ::oFont := NIL
   ENDIF
RETURN ::Super:Destroy()

// The in-memory template: a DLGTEMPLATE in dialog units of the system font, positioned
// relative to the owner, followed by one item per control in definition order.
METHOD cToChar( hWndOwner ) CLASS TDialog
   LOCAL nUnits := GetDialogBaseUnits(), nBx := nAnd( nUnits, 0xFFFF ), nBy := Int( nUnits / 65536 )
   LOCAL aRect := { 0, 0, 0, 0 }, cCaption := iif( ::cCaption == NIL, "", ::cCaption ), cTemplate
   IF ValType( hWndOwner ) == "N" .AND. hWndOwner != 0
      aRect := GetWindowRect( hWndOwner )
   ENDIF
   IF Len( cCaption ) % 2 == 1
      cCaption += " "
   ENDIF
   cTemplate := CDlg2Chr( Len( ::aControls ), Int( 8 * ( ::nTop - aRect[ 1 ] ) / nBy ), ;
                          Int( 4 * ( ::nLeft - aRect[ 2 ] ) / nBx ), Int( 8 * ( ::nBottom - aRect[ 1 ] ) / nBy ), ;
                          Int( 4 * ( ::nRight - aRect[ 2 ] ) / nBx ), cCaption, ::nStyle )
   AEval( ::aControls, {| o | cTemplate += o:cToChar() } )
RETURN cTemplate
