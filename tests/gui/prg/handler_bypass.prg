// Messages none of the library's HandleEvent methods look at go straight to the window's own
// procedure when the object's class keeps the library's HandleEvent; a class with a HandleEvent
// of its own still sees every message, and the messages the library's methods do look at
// still reach their methods.
#define WM_SETTEXT       12
#define WM_GETTEXTLENGTH 14
#define FM_CLICK       2048

PROCEDURE Main()
   LOCAL oWnd := TProbe():New( "probe" ), oSpy := TSpy():New( "spy" )
   LOCAL oSay := TSay():New( 1, 1, {|| "first" }, oWnd, , , , , , , , , 80, 12 )
   LOCAL oClick := TClickSay():New( 2, 1, {|| "click" }, oWnd, , , , , , , , , 80, 12 )
   ? "say", GetWindowText( oSay:hWnd )
   oSay:SetText( "second" )
   ? "say after SetText", GetWindowText( oSay:hWnd ), oSay:cCaption
   ? "say length", SendMessage( oSay:hWnd, WM_GETTEXTLENGTH, 0, 0 )
   SetWindowText( oWnd:hWnd, "probe renamed" )
   ? "window", GetWindowText( oWnd:hWnd )
   SetWindowText( oSpy:hWnd, "spy renamed" )
   ? "spy", GetWindowText( oSpy:hWnd ), "saw", oSpy:nSetTexts, "WM_SETTEXT"
   SendMessage( oSpy:hWnd, 1024, 0, 0 )
   ? "spy saw user message", oSpy:nLast
   ? "click answered", SendMessage( oClick:hWnd, FM_CLICK, 0, 0 ), oClick:nClicks
   oSpy:End()
   oWnd:End()
RETURN

CLASS TProbe FROM TWindow
   METHOD New( cTitle )
ENDCLASS

METHOD New( cTitle ) CLASS TProbe
   ::aControls := {}
   ::Register( 0 )
   ::hWnd := CreateWindow( ::ClassName(), cTitle, 0, 0, 0, 200, 100, 0, 0, 0 )
   ::Link()
RETURN Self

CLASS TSpy FROM TProbe
   DATA nSetTexts INIT 0
   DATA nLast INIT 0
   METHOD HandleEvent( nMsg, nWParam, nLParam )
ENDCLASS

METHOD HandleEvent( nMsg, nWParam, nLParam ) CLASS TSpy
   ::nLast := nMsg
   IF nMsg == WM_SETTEXT
      ::nSetTexts++
   ENDIF
RETURN ::Super:HandleEvent( nMsg, nWParam, nLParam )

CLASS TClickSay FROM TSay
   DATA nClicks INIT 0
   METHOD Click() INLINE ( ::nClicks++, 7 )
ENDCLASS
