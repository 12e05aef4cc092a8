// The progress dialog at 45 %, grabbed while its action waits for Cancel.
PROCEDURE Main()
   ? "cancelled", MsgMeter( {| oMeter, oText, oDlg, lEnd | Hold( oMeter, oText, @lEnd ) }, "Exporting", "Progress test" )
RETURN

STATIC FUNCTION Hold( oMeter, oText, lEnd )
   oMeter:nTotal := 200
   oMeter:Set( 90 )
   oText:SetText( "Record 90 of 200" )
   DO WHILE ! lEnd
      SysRefresh()
   ENDDO
RETURN NIL
