// MSGMETER: a modal progress dialog with a text line, a meter and a Cancel button that runs a
// work block once it is first painted. The block gets the meter, the text, the dialog, the end
// flag by reference and the button; Cancel only raises the flags, which the block tests.
#include "gui.ch"

FUNCTION MsgMeter( bAction, cMsg, cTitle )
   LOCAL oDlg, oMeter, oText, oBtn, oFont, lEnd := .F., lCancel := .F., nValue := 0
   DEFAULT_NIL( bAction, {|| NIL } )
   DEFAULT_NIL( cMsg, "Processing..." )
   DEFAULT_NIL( cTitle, "Please, wait" )
   oFont := TFont():New( GetSysFont(), 0, -8 )
   oDlg := TDialog():New( 5, 5, 13, 45, cTitle, , , .F., , , , , , .F., , oFont )
   oText := TSay():New( 0.2, 0.5, {|| cMsg }, oDlg, , oFont, , , , , , , 130, 10 )
   oMeter := TMeter():New( 1, 0.5, {| n | iif( n == NIL, nValue, nValue := n ) }, 10, oDlg, 150, 10 )
   oBtn := TButton():New( 2.2, 10.4, "&Cancel", oDlg, {|| lEnd := .T., lCancel := .T. }, 32, 11 )
   oDlg:bStart := {|| Eval( bAction, oMeter, oText, oDlg, @lEnd, oBtn ), lEnd := .T., oDlg:End() }
   oDlg:Activate( , , , .T., {|| lEnd } )
   oFont:End()
RETURN lCancel
