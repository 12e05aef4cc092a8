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
      XXX := IntText( n )
      IF MemoWritNew( cFolder + "\FEHLER_" + XXX + ".log", cReport )
         RETURN "FEHLER_" + XXX + ".log"
      ENDIF
   NEXT
RETURN ""

STATIC PROCEDURE EraseSlots( cFolder )
   LOCAL n

   FOR n := 1 TO REPORT_SLOTS
      FErase( cFolder + "\FEHLER_" + IntText( n ) + ".log" )
   NEXT
RETURN

// The error dialog: the message, the call stack, the buttons the error allows and a button that
// opens the report. Returns NIL (cancel), .T. (retry) or .F. (default).
FUNCTION ShowErrorDialog( oError, cDescLine, aStack, nButtons, cFolder, cReportName )
   LOCAL lNT := IsWinNT()
   LOCAL nButtonRow := IIf( lNT, 164, 140 )
   LOCAL oDlg, oSay, lRet

   oDlg := TDialog():New( , , , , "Fehlermeldungen", , , , , , , , , .T., , , , 400, IIf( lNT, 410, 360 ) )
   oSay := TSay():New( 3, 22, {|| OemToAnsi( cDescLine ) }, oDlg, , , .T., , , .T., , , 126, 22 )
   oSay:nStyle := nOr( oSay:nStyle, STYLE_NOPREFIX )
   TSay():New( 25, 6, {|| "&Stack Liste :" }, oDlg, , , , , , .T. )
   TListBox():New( 38, 4, , aStack, 190, IIf( lNT, 123, 105 ), , oDlg, , , , .T. )
   TButton():New( nButtonRow, 75, "&Abbruch", oDlg, {|| oDlg:End() }, 50, 11, , , ;
                  nButtons == 1 .OR. nButtons == 3, .T. )
   IF oError:CanRetry
      TButton():New( nButtonRow, IIf( nButtons == 2, 135, 13 ), "&neuer Versuch", oDlg, ;
                     {|| lRet := .T., oDlg:End() }, 50, 11, , , , .T. )
   ENDIF
   IF oError:CanDefault
      TButton():New( nButtonRow, 135, "&alter Zustand", oDlg, {|| lRet := .F., oDlg:End() }, ;
                     50, 11, , , , .T. )
   ENDIF
   // The report lies in the program folder, which need not be the current one.
   TButton():New( 24, 70, cReportName + " - Datei " + OE_SMALL + "ffnen", oDlg, ;
                  {|| WinExec( "Notepad.exe " + cFolder + "\" + cReportName, 1 ) }, 80, 10, , , , .T. )
   TSay():New( 180, 20, {|| "Schicken Sie uns bitte die : < FEHLER_1.log bis 10  >  DATEIEN " }, ;
               oDlg, , , , , , .T. )
   TSay():New( 187, 25, {|| "Fax 0000 000000 - E-Mail support@xlforms.invalid" }, oDlg, , , , , , .T. )
   TSay():New( 194, 35, {|| "um den / die aufgetretenen Fehler  zu beheben !!!" }, oDlg, , , , , , .T. )
   oDlg:Activate( , , , .T., , .T. )
RETURN lRet
