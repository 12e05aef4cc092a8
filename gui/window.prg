// TWindow: every window of the library. It links its window into the window table
// (subclassing it), answers messages through the native switch WNDHANDLEEVENT installed as
// HandleEvent, keeps colours and a brush, and forwards control colouring and commands.
#include "gui.ch"

CLASS TWindow
   DATA hWnd INIT 0
   DATA nOldProc
   DATA bInit, bMoved, bLClicked, bLButtonUp, bKeyDown, bPainted, bMButtonDown, bMButtonUp
   DATA bRClicked, bRButtonUp, bResized, bLDblClick, bWhen, bValid, bKeyChar, bMMoved
   DATA bGotFocus, bLostFocus, bDropFiles, bDdeInit, bDdeExecute, bCommNotify, bMenuSelect
   DATA bZip, bUnZip, bDropOver, bCopy, bCut, bFind, bPaste, bPrint, bUnDo, bReDo, bDelete
   DATA bSelectAll, bFindNext, bReplace, bProperties
   DATA cCaption, cPS, cVarName, nPaintCount, cMsg, cToolTip, Cargo, hDC, nId
   DATA lActive INIT .T.
   DATA lCancel, lFocused, lVisible, lDesign, lVbx, lValidating, lBalloon
   DATA nTop INIT 0
   DATA nLeft INIT 0
   DATA nBottom INIT 0
   DATA nRight INIT 0
   DATA nStyle, nExStyle, nChrHeight, nChrWidth, nLastKey
   DATA nClrPane, nClrText, nResult, nHelpId, hCtlFocus
   DATA aControls, aMinMaxInfo
   DATA oBar, oBrush, oCursor, oFont, oIcon, oMenu, oSysMenu, oPopup, oMsgBar, oWnd
   DATA oVScroll, oHScroll, oDragCursor, oCtlFocus, oTop, oLeft, oBottom, oRight, oClient
   DATA bSocket, bTaskBar, bEraseBkGnd, OnClick, OnMouseMove, OnKeyDown, OnMove, OnPaint, OnResize

   METHOD InitClass()
   METHOD Link( lSubclass )
   METHOD UnLink()
   METHOD Register( nClsStyle )
   METHOD SetColor( nClrText, nClrPane, oBrush )
   METHOD Command( nWParam, nLParam )
   METHOD CtlColor( hWndCtl, hDC )
   METHOD Destroy()
   METHOD End()
   METHOD BeginPaint()
   METHOD EndPaint()
   METHOD SetText( cText )
   METHOD GetText() INLINE GetWindowText( ::hWnd )
   METHOD Refresh( lErase ) INLINE InvalidateRect( ::hWnd, lErase )
   METHOD SetFocus() INLINE SetFocus( ::hWnd )
   METHOD Hide() INLINE ShowWindow( ::hWnd, 0 )
   METHOD Show() INLINE ShowWindow( ::hWnd, 5 )
   METHOD AEvalWhen()
   METHOD KeyDown( nKey, nFlags )
   METHOD LButtonDown( nRow, nCol, nFlags )
   METHOD LDblClick( nRow, nCol, nFlags )
   METHOD Moved( nType, nX, nY )
   METHOD Resize( nType, nWidth, nHeight )

   METHOD GotFocus() VIRTUAL
   METHOD LostFocus() VIRTUAL
   METHOD Paint() VIRTUAL
   METHOD Close() VIRTUAL
   METHOD QueryEndSession() VIRTUAL
   METHOD EraseBkGnd() VIRTUAL
   METHOD GetMinMaxInfo() VIRTUAL
   METHOD DrawItem() VIRTUAL
   METHOD MeasureItem() VIRTUAL
   METHOD QueryDragIcon() VIRTUAL
   METHOD CommNotify() VIRTUAL
   METHOD Notify() VIRTUAL
   METHOD Help() VIRTUAL
   METHOD NcActivate() VIRTUAL
   METHOD GetDlgCode() VIRTUAL
   METHOD NcMouseMove() VIRTUAL
   METHOD KeyChar() VIRTUAL
   METHOD SysCommand() VIRTUAL
   METHOD Timer() VIRTUAL
   METHOD HScroll() VIRTUAL
   METHOD VScroll() VIRTUAL
   METHOD InitMenuPopup() VIRTUAL
   METHOD MenuSelect() VIRTUAL
   METHOD MenuChar() VIRTUAL
   METHOD MouseMove() VIRTUAL
   METHOD LButtonUp() VIRTUAL
   METHOD RButtonDown() VIRTUAL
   METHOD RButtonUp() VIRTUAL
   METHOD MButtonDown() VIRTUAL
   METHOD MButtonUp() VIRTUAL
   METHOD MouseWheel() VIRTUAL
   METHOD DropFiles() VIRTUAL
   METHOD QueryNewPalette() VIRTUAL
   METHOD PaletteChanged() VIRTUAL
   METHOD DdeInitiate() VIRTUAL
   METHOD DdeTerminate() VIRTUAL
   METHOD DdeAck() VIRTUAL
   METHOD DdeExecute() VIRTUAL
   METHOD HelpF1() VIRTUAL
   METHOD DropOver() VIRTUAL
   METHOD AsyncSelect() VIRTUAL
   METHOD TaskBar() VIRTUAL
ENDCLASS

// The message switch is native: it becomes TWindow's HandleEvent once, when the class is made.
METHOD InitClass() CLASS TWindow
   IF Upper( ::ClassName() ) == "TWINDOW"
      __ClsAddMsg( __ClsGetHandleFromName( "TWINDOW" ), "HandleEvent", @WndHandleEvent(), 0 )
   ENDIF
RETURN Self

METHOD Link( lSubclass ) CLASS TWindow
   LOCAL nSlot
   IF ::hWnd == NIL .OR. ::hWnd == 0
      RETURN NIL
   ENDIF
   nSlot := _GxLinkSlot( Self )
   IF lSubclass == NIL .OR. lSubclass
      ::nOldProc := XChangeProc( ::hWnd, nSlot )
   ENDIF
RETURN nSlot

METHOD UnLink() CLASS TWindow
   IF ::nOldProc != NIL .AND. ::hWnd != NIL .AND. ::hWnd != 0
      RestProc( ::hWnd, ::nOldProc )
      ::nOldProc := NIL
   ENDIF
RETURN _GxUnlinkSlot( Self )

// Registers the window class of this object's class once (style | CS_DBLCLKS | CS_GLOBALCLASS).
METHOD Register( nClsStyle ) CLASS TWindow
   IF ::nClrPane == NIL
      ::nClrPane := GetSysColor( COLOR_WINDOW )
   ENDIF
   IF ::oBrush == NIL
      ::oBrush := TBrush():New( , ::nClrPane )
   ENDIF
RETURN RegisterClass( ::ClassName(), nOr( iif( nClsStyle == NIL, 0, nClsStyle ), CS_DBLCLKS, CS_GLOBALCLASS ), ;
                      ::oBrush:hBrush, 0 )

METHOD SetColor( nClrText, nClrPane, oBrush ) CLASS TWindow
   LOCAL nAt
   IF ValType( nClrText ) == "C"          // "fore/back"
      nAt := At( "/", nClrText )
      nClrPane := iif( nAt > 0, Val( SubStr( nClrText, nAt + 1 ) ), nClrPane )
      nClrText := Val( Left( nClrText, iif( nAt > 0, nAt - 1, Len( nClrText ) ) ) )
   ENDIF
   ::nClrText := nClrText
   ::nClrPane := nClrPane
   IF ::oBrush != NIL
      ::oBrush:End()
   ENDIF
   IF oBrush != NIL
      oBrush:nCount++
      ::oBrush := oBrush
   ELSE
      ::oBrush := TBrush():New( , nClrPane )
   ENDIF
RETURN NIL

METHOD Command( nWParam, nLParam ) CLASS TWindow
   LOCAL nNotify := nAnd( nWParam, 0xFFFF0000 ) / 65536, nId := nAnd( nWParam, 0xFFFF ), oCtrl
   IF nId == 0 .OR. nLParam == 0 .OR. ::aControls == NIL
      RETURN NIL
   ENDIF
   oCtrl := OWndFromHwnd( nLParam )
   IF oCtrl != NIL
      DO CASE
      CASE nNotify == 0 ; SendMessage( nLParam, FM_CLICK, 0, 0 )
      CASE nNotify == 8 ; SendMessage( nLParam, FM_CLOSEUP, 0, 0 )
      CASE nNotify == 1 ; SendMessage( nLParam, FM_CHANGE, 0, 0 )
      ENDCASE
   ENDIF
RETURN NIL

// For a control of this window (id other than 65535): message 2054 asks it for its brush.
METHOD CtlColor( hWndCtl, hDC ) CLASS TWindow
   IF GetParent( hWndCtl ) == ::hWnd .AND. GetDlgCtrlId( hWndCtl ) != 65535
      RETURN SendMessage( hWndCtl, FM_COLORS, hDC, 0 )
   ENDIF
RETURN NIL

METHOD Destroy() CLASS TWindow
   IF ::oWnd == NIL .AND. WndMain() != NIL .AND. WndMain() == Self
      PostMessage( 0, WM_QUIT, 0, 0 )
   ENDIF
   DeRegDialog( ::hWnd )
   ::UnLink()
   ::hWnd := 0
RETURN NIL

METHOD End() CLASS TWindow
   IF ::hWnd != NIL .AND. ::hWnd != 0
      DestroyWindow( ::hWnd )
   ENDIF
RETURN .T.

METHOD BeginPaint() CLASS TWindow
   ::hDC := BeginPaint( ::hWnd )
   ::cPS := ""
RETURN NIL

METHOD EndPaint() CLASS TWindow
   EndPaint( ::hWnd )
   ::hDC := NIL
   ::cPS := NIL
RETURN NIL

METHOD SetText( cText ) CLASS TWindow
   ::cCaption := cText
   SetWindowText( ::hWnd, iif( cText == NIL, "", cText ) )
RETURN NIL

METHOD AEvalWhen() CLASS TWindow
   LOCAL oCtrl
   IF ::aControls != NIL
      FOR EACH oCtrl IN ::aControls
         IF oCtrl:bWhen != NIL .AND. oCtrl:hWnd != 0
            EnableWindow( oCtrl:hWnd, Eval( oCtrl:bWhen ) )
         ENDIF
      NEXT
   ENDIF
RETURN NIL

METHOD KeyDown( nKey, nFlags ) CLASS TWindow
   ::nLastKey := nKey
   IF ::bKeyDown != NIL
      RETURN Eval( ::bKeyDown, nKey, nFlags, Self )
   ENDIF
RETURN NIL

METHOD LButtonDown( nRow, nCol, nFlags ) CLASS TWindow
   IF ::bLClicked != NIL
      Eval( ::bLClicked, nRow, nCol, nFlags, Self )
   ENDIF
RETURN NIL

METHOD LDblClick( nRow, nCol, nFlags ) CLASS TWindow
   IF ::bLDblClick != NIL
      Eval( ::bLDblClick, nRow, nCol, nFlags, Self )
   ENDIF
RETURN NIL

METHOD Moved( nType, nX, nY ) CLASS TWindow
   IF ::bMoved != NIL
      Eval( ::bMoved, nX, nY, Self )
   ENDIF
RETURN NIL

METHOD Resize( nType, nWidth, nHeight ) CLASS TWindow
   IF ::bResized != NIL
      Eval( ::bResized, nType, nWidth, nHeight, Self )
   ENDIF
RETURN NIL
