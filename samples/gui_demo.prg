// The GUI class library in a few lines: a dialog with a text, a list and buttons; one button
// runs a progress dialog over the invoices of PRODUCT.DBF, another asks a question.
// Run it:   pvrun gui_demo.prg                       (on a display)
// Headless: pvrun gui_demo.prg //uiscript:gui_demo.ui (with QT_QPA_PLATFORM=offscreen)
PROCEDURE Main()
   LOCAL oDlg, cChoice := "Program 01", nSum := 0
   USE PRODUCT.DBF SHARED NEW
   oDlg := TDialog():New( 2, 2, 16, 52, "GUI demo" )
   TSay():New( 0.5, 2, {|| "Invoices in PRODUCT.DBF: " + LTrim( Str( LastRec() ) ) }, oDlg, , , , , , , , , 250, 14 )
   TListBox():New( 2, 2, {| c | iif( c == NIL, cChoice, cChoice := c ) }, ;
                   { "Program 01", "Program 02", "Program 03" }, 150, 80, , oDlg )
   TButton():New( 2, 30, "&Sum values", oDlg, {|| nSum := SumValues() }, 80, 16 )
   TButton():New( 3.5, 30, "&Question", oDlg, {|| QOut( "answer", MsgYesNo( "Show the sum?" ) ) }, 80, 16 )
   TButton():New( 5, 30, "&Close", oDlg, {|| oDlg:End() }, 80, 16 )
   oDlg:Activate( , , , .T. )
   ? "sum of values", LTrim( Str( nSum, 12, 2 ) ), "choice", cChoice
   CLOSE
RETURN

// Adds up the VALUE field in a progress dialog; Cancel stops early.
STATIC FUNCTION SumValues()
   LOCAL nSum := 0
   MsgMeter( {| oMeter, oText, oDlg, lEnd | nSum := AddUp( oMeter, oText, @lEnd ) }, "Adding up values", "Please, wait" )
RETURN nSum

STATIC FUNCTION AddUp( oMeter, oText, lEnd )
   LOCAL nSum := 0
   oMeter:nTotal := LastRec()
   GO TOP
   DO WHILE ! Eof() .AND. ! lEnd
      nSum += FIELD->VALUE
      oMeter:Set( RecNo() )
      oText:SetText( "Record " + LTrim( Str( RecNo() ) ) )
      SKIP
   ENDDO
RETURN nSum
