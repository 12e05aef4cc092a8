// The process-wide window table: window objects by slot (a freed slot holds 0, slots are reused,
// never removed), _GXH which hands a message to the object in a slot, the default window for
// control definitions and the application's main window.
#include "gui.ch"

STATIC s_aWindows := {}
STATIC s_aResult := { NIL, NIL }
STATIC s_oWndDefault
STATIC s_oWndMain

// _GXH( nHwndOrLParam, nMsg, nWParam, nLParam, nSlot ) -> { result, nOldProc } or NIL when the
// slot holds no object. One result array serves every call; callers read it at once.
FUNCTION _GXH( nLParamOrHwnd, nMsg, nWParam, nLParam, nSlot )
   LOCAL oWnd
   IF nSlot > 0 .AND. nSlot <= Len( s_aWindows )
      oWnd := s_aWindows[ nSlot ]
      IF ValType( oWnd ) == "O"
         s_aResult[ 1 ] := oWnd:HandleEvent( nMsg, nWParam, nLParam )
         s_aResult[ 2 ] := oWnd:nOldProc
         RETURN s_aResult
      ENDIF
   ENDIF
RETURN NIL

// Puts the object into the first free slot (or a new one) and returns the slot number.
FUNCTION _GXLINKSLOT( oWnd )
   LOCAL nSlot := AScan( s_aWindows, {| x | ValType( x ) == "N" } )
   IF nSlot == 0
      AAdd( s_aWindows, oWnd )
      nSlot := Len( s_aWindows )
   ELSE
      s_aWindows[ nSlot ] := oWnd
   ENDIF
RETURN nSlot

// Frees the slot holding the object; returns it (0 when the object was not linked).
FUNCTION _GXUNLINKSLOT( oWnd )
   LOCAL nSlot := AScan( s_aWindows, {| x | ValType( x ) == "O" .AND. x == oWnd } )
   IF nSlot > 0
      s_aWindows[ nSlot ] := 0
   ENDIF
RETURN nSlot

FUNCTION NWINDOWS()
RETURN Len( s_aWindows )

FUNCTION GETALLWIN()
RETURN s_aWindows

// The linked window object with that handle, or NIL.
FUNCTION OWNDFROMHWND( hWnd )
   LOCAL nSlot
   IF ValType( hWnd ) != "N" .OR. hWnd == 0
      RETURN NIL
   ENDIF
   nSlot := AScan( s_aWindows, {| x | ValType( x ) == "O" .AND. x:hWnd == hWnd } )
RETURN iif( nSlot == 0, NIL, s_aWindows[ nSlot ] )

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
