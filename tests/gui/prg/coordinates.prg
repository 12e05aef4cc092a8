// Text and pixel coordinates of dialogs and controls made in code, their defaults, and the ids
// new controls get.
PROCEDURE Main()
   LOCAL oDlg, oBtn, oSay, oMeter, oList
   oDlg := TDialog():New( 5, 5, 13, 45, "Text coordinates" )
   ? "dialog text", oDlg:nTop, oDlg:nLeft, oDlg:nBottom, oDlg:nRight, Hex( oDlg:nStyle )
   oDlg := TDialog():New( 1, 2, 3, 4, "Pixels", , , , , , , , , , , , , 400, 360 )
   ? "dialog pixels", oDlg:nTop, oDlg:nLeft, oDlg:nBottom, oDlg:nRight, oDlg:nResult, oDlg:lVisible
   oBtn := TButton():New( 2.2, 10.4, "&Cancel", oDlg, {|| NIL }, 32, 11 )
   ? "button", oBtn:nTop, oBtn:nLeft, oBtn:nBottom, oBtn:nRight, oBtn:nId, Hex( oBtn:nStyle )
   oBtn := TButton():New( , , , oDlg, , , , , , .T., .T. )
   ? "default button", oBtn:nTop, oBtn:nLeft, oBtn:nBottom, oBtn:nRight, oBtn:cCaption, oBtn:nId, Hex( oBtn:nStyle )
   oSay := TSay():New( 0.2, 0.5, {|| "Processing..." }, oDlg, , , .T. )
   ? "say", oSay:nTop, oSay:nLeft, oSay:nBottom, oSay:nRight, oSay:cCaption, Hex( oSay:nStyle )
   oMeter := TMeter():New( 1, 0.5, , , oDlg, 150, 10 )
   ? "meter", oMeter:nTop, oMeter:nLeft, oMeter:nBottom, oMeter:nRight, oMeter:nTotal, oMeter:nClrBar, oMeter:nClrBText
   oList := TListBox():New( 38, 4, , { "a" }, 190, 105, , oDlg, , , , .T. )
   ? "list", oList:nTop, oList:nLeft, oList:nBottom, oList:nRight, Len( oDlg:aControls )
RETURN

STATIC FUNCTION Hex( n )
   LOCAL c := ""
   DO WHILE n > 0
      c := SubStr( "0123456789ABCDEF", n % 16 + 1, 1 ) + c
      n := Int( n / 16 )
   ENDDO
RETURN c
