// One million messages posted in the Win32 layer and dispatched through the window table to a
// method of a .prg object (goal: under 1 s of processor time for the dispatching).
#define WM_TIMER 275

PROCEDURE Main()
   LOCAL oWnd := TCounter():New(), i, k, nStart, nSecs := 0
   FOR i := 1 TO 1000
      FOR k := 1 TO 1000
         PostMessage( oWnd:hWnd, WM_TIMER, k, 0 )
      NEXT
      nStart := CpuSeconds()
      SysRefresh()
      nSecs += CpuSeconds() - nStart
   NEXT
   ? "messages_to_method_1M", LTrim( Str( nSecs, 8, 3 ) ), "s  goal 1 s  ratio", LTrim( Str( nSecs / 1, 8, 2 ) ), ;
     " handled", oWnd:nCount
   oWnd:End()
RETURN

CLASS TCounter FROM TWindow
   DATA nCount INIT 0
   METHOD New()
   METHOD Timer( nId, nLParam ) INLINE ::nCount++
ENDCLASS

METHOD New() CLASS TCounter
   ::Register( 0 )
   ::hWnd := CreateWindow( "TCOUNTER", "counter", 0, 0, 0, 100, 100, 0, 0, 0 )
   ::Link()
RETURN Self
