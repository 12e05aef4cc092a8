// The native message switch: each message reaches its method with the arguments unpacked from
// wParam and lParam (low and high words, signed where they are signed, logicals).
#define WM_MOVE           3
#define WM_SIZE           5
#define WM_CLOSE         16
#define WM_NCACTIVATE   134
#define WM_KEYDOWN      256
#define WM_CHAR         258
#define WM_COMMAND      273
#define WM_TIMER        275
#define WM_INITMENUPOPUP 279
#define WM_MOUSEMOVE    512
#define WM_LBUTTONDOWN  513
#define WM_RBUTTONUP    517
#define WM_MOUSEWHEEL   522

PROCEDURE Main()
   LOCAL oWnd := TProbe():New(), h := oWnd:hWnd
   SendMessage( h, WM_MOVE, 0, 0x00140030 )
   SendMessage( h, WM_SIZE, 2, 0x00C80190 )
   SendMessage( h, WM_MOUSEMOVE, 1, 0x00070009 )
   SendMessage( h, WM_LBUTTONDOWN, 1, 0x00200010 )
   SendMessage( h, WM_RBUTTONUP, 0, 0x00030004 )
   SendMessage( h, WM_KEYDOWN, 13, 0x001C0001 )
   SendMessage( h, WM_CHAR, 65, 1 )
   SendMessage( h, WM_COMMAND, 0x00010065, 0 )
   SendMessage( h, WM_TIMER, 7, 0 )
   SendMessage( h, WM_NCACTIVATE, 1, 0 )
   SendMessage( h, WM_INITMENUPOPUP, 5, 0x00010002 )
   SendMessage( h, WM_MOUSEWHEEL, 0xFF880004, 0xFFF6FFFB )
   SendMessage( h, 2063, 0, 0x00050006 )
   ? "unhandled answers", SendMessage( h, 1024, 0, 0 )
   ? "close answered", SendMessage( h, WM_CLOSE, 0, 0 )
   oWnd:End()
   ? "unlinked", oWnd:hWnd, OWndFromHwnd( h )
RETURN

CLASS TProbe FROM TWindow
   METHOD New()
   METHOD Moved( nType, nX, nY ) INLINE Show( "Moved", nType, nX, nY )
   METHOD Resize( nType, nW, nH ) INLINE Show( "Resize", nType, nW, nH )
   METHOD MouseMove( nRow, nCol, nKeys ) INLINE Show( "MouseMove", nRow, nCol, nKeys )
   METHOD LButtonDown( nRow, nCol, nKeys ) INLINE Show( "LButtonDown", nRow, nCol, nKeys )
   METHOD RButtonUp( nRow, nCol, nKeys ) INLINE Show( "RButtonUp", nRow, nCol, nKeys )
   METHOD KeyDown( nKey, nFlags ) INLINE Show( "KeyDown", nKey, nFlags )
   METHOD KeyChar( nKey, nFlags ) INLINE Show( "KeyChar", nKey, nFlags )
   METHOD Command( nWParam, nLParam ) INLINE Show( "Command", nWParam, nLParam )
   METHOD Timer( nId, nLParam ) INLINE Show( "Timer", nId, nLParam )
   METHOD NcActivate( lActive ) INLINE Show( "NcActivate", lActive )
   METHOD InitMenuPopup( hMenu, nPos, lSys ) INLINE Show( "InitMenuPopup", hMenu, nPos, lSys )
   METHOD MouseWheel( nKeys, nDelta, nX, nY ) INLINE Show( "MouseWheel", nKeys, nDelta, nX, nY )
   METHOD DropOver( nRow, nCol, nLParam ) INLINE Show( "DropOver", nRow, nCol, nLParam )
   METHOD Close() INLINE 0
ENDCLASS

METHOD New() CLASS TProbe
   ::Register( 0 )
   ::hWnd := CreateWindow( "TPROBE", "probe", 0, 0, 0, 100, 100, 0, 0, 0 )
   ::Link()
RETURN Self

STATIC FUNCTION Show( cMethod, a, b, c, d )
   QOut( cMethod, a, b, c, d )
RETURN 0
