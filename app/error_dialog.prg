// The error report file and the error dialog. Reports go to FEHLER_1.log ... FEHLER_10.log in
// the program folder, each into the first free slot; when all ten are taken they are deleted and
// the next report starts again at FEHLER_1.log. A slot is taken by creating its file, so a
// report never replaces another one (two programs reporting at once take two slots).
#include "xlforms.ch"

MEMVAR XXX

#define REPORT_SLOTS 10
#define STYLE_NOPREFIX 128

// Writes the report; returns its file name without folder ("" when it could not be written).
// Any error while writing only leaves the writing, through DoBreak.
FUNCTION WriteReport( cFolder, cReport )
   LOCAL bSaved := ErrorBlock( {|| DoBreak() } )
   LOCAL cName := ""

   BEGIN SEQUENCE
      cName := ClaimSlot( cFolder, cReport )
      IF Empty( cName )
         EraseSlots( cFolder )
         cName := ClaimSlot( cFolder, cReport )
      ENDIF
   END SEQUENCE
   ErrorBlock( bSaved )
RETURN cName

// The first free slot, written with the report; "" when every slot is taken.
STATIC FUNCTION ClaimSlot( cFolder, cReport )
   LOCAL n

   FOR n := 1 TO REPORT_SLOTS
      XXX := LTrim( Str( n ) )
      IF MemoWritNew( cFolder + "\FEHLER_" + XXX + ".log", cReport )
         RETURN "FEHLER_" + XXX + ".log"
      ENDIF
   NEXT
RETURN ""

STATIC PROCEDURE EraseSlots( cFolder )
   LOCAL n

   FOR n := 1 TO REPORT_SLOTS
      FErase( cFolder + "\FEHLER_" + LTrim( Str( n ) ) + ".log" )
   NEXT
RETURN

// The error dialog: the message, the call stack, the buttons the error allows and a button that
// opens the report. Returns NIL (cancel), .T. (retry) or .F. (default).
FUNCTION ShowErrorDialog( oError, cDescLine, aStack, nButtons, cFolder, cReportName )
   LOCAL lNT := IsWinNT()
   LOCAL nButtonRow := IIf( lNT, 164, 140 )
   LOCAL oDlg, oSay, oList, hBitmap, lRet

   oDlg := TDialog():New( , , , , "Fehlermeldungen", , , , , , , , , .T., , , , 400, IIf( lNT, 410, 360 ) )
   oSay := TSay():New( 0, 0, {|| OemToAnsi( cDescLine ) }, oDlg, , oDlg:oFont, .T., , , .T. )
   oSay:nStyle := nOr( oSay:nStyle, STYLE_NOPREFIX )
   oSay:nTop := 3
   oSay:nLeft := 22
   oSay:nBottom := 25
   oSay:nRight := 148
   TSay():New( 25, 6, {|| "&Stack Liste :" }, oDlg, , oDlg:oFont, , , , .T. )
   oList := TListBox():New( 38, 4, , aStack, 190, IIf( lNT, 123, 105 ), , oDlg, , , , .T., , , oDlg:oFont )
   oList:nAt := 1
   TButton():New( nButtonRow, 75, "&Abbruch", oDlg, {|| oDlg:End() }, 50, 11, , oDlg:oFont, ;
                  nButtons == 1 .OR. nButtons == 3, .T. )
   IF oError:CanRetry
      TButton():New( nButtonRow, IIf( nButtons == 2, 135, 13 ), "&neuer Versuch", oDlg, ;
                     {|| lRet := .T., oDlg:End() }, 50, 11, , oDlg:oFont, , .T. )
   ENDIF
   IF oError:CanDefault
      TButton():New( nButtonRow, 135, "&alter Zustand", oDlg, {|| lRet := .F., oDlg:End() }, ;
                     50, 11, , oDlg:oFont, , .T. )
   ENDIF
   TButton():New( 24, 70, cReportName + " - Datei " + OE_SMALL + "ffnen", oDlg, ;
                  {|| WinExec( "Notepad.exe " + cFolder + "\" + cReportName, 1 ) }, 80, 10, , ;
                  oDlg:oFont, , .T. )
   TSay():New( 180, 20, {|| "Schicken Sie uns bitte die : < FEHLER_1.log bis 10  >  DATEIEN " }, ;
               oDlg, , oDlg:oFont, , , , .T. )
   TSay():New( 187, 25, {|| "Fax 0000 000000 - E-Mail support@xlforms.invalid" }, ;
               oDlg, , oDlg:oFont, , , , .T. )
   TSay():New( 194, 35, {|| "um den / die aufgetretenen Fehler  zu beheben !!!" }, ;
               oDlg, , oDlg:oFont, , , , .T. )
   hBitmap := LoadBitmap( GetResources(), "Ende_5" )
   oDlg:bPainted := {|hDC| IIf( hBitmap != 0, DrawBitmap( hDC, hBitmap, 6, 6 ), NIL ) }
   oDlg:Activate( , , , .T., , .T. )
   IF hBitmap != 0
      DeleteObject( hBitmap )
   ENDIF
RETURN lRet
