// A progress dialog cancelled through the UI script while its action runs: the action sees
// lEnd become true, MSGMETER returns true. With no arguments MSGMETER closes at once.
PROCEDURE Main()
   LOCAL lCancelled, nSteps := 0
   ? "default", MsgMeter()
   lCancelled := MsgMeter( {| oMeter, oText, oDlg, lEnd | nSteps := Work( oMeter, oText, @lEnd ) }, "Working", "Cancel test" )
   ? "cancelled", lCancelled, "stopped early", nSteps < 100000
RETURN

STATIC FUNCTION Work( oMeter, oText, lEnd )
   LOCAL n := 0
   oMeter:nTotal := 100000
   oText:SetText( "Counting" )
   DO WHILE ! lEnd .AND. n < 100000
      n++
      oMeter:Set( n )
      SysRefresh()
   ENDDO
RETURN n
