// The default window for control definitions and the application's main window. (The window
// table itself and _GXH are native: gui_window_table.cc.)
#include "gui.ch"

STATIC s_oWndDefault
STATIC s_oWndMain

FUNCTION SETWNDDEFAULT( oWnd )
   s_oWndDefault := oWnd
RETURN NIL

FUNCTION GETWNDDEFAULT()
RETURN s_oWndDefault

FUNCTION WNDMAIN()
RETURN s_oWndMain

FUNCTION SETWNDMAIN( oWnd )
   s_oWndMain := oWnd
RETURN NIL
