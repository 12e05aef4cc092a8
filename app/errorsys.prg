// The application's error handler: a division by zero yields 0, a refused shared open or append
// lock fails quietly with NETERR set, and every other error is written as a report into the
// program folder and shown in the error dialog, which ends the program or returns the user's
// verdict (retry or default).
#include "xlforms.ch"

MEMVAR C_DIR, C_PFAD

PROCEDURE ErrorSys()
   ErrorBlock( {|oError| ErrorDialog( oError ) } )
RETURN

PROCEDURE ErrorLink()
RETURN

FUNCTION ErrorDialog( oError )
   LOCAL aStack := {}, cReport, cDescLine, nButtons := 1, lRet, cReportName

   DO CASE
   CASE oError:GenCode == EG_ZERODIV
      RETURN 0
   CASE oError:GenCode == EG_OPEN .AND. ( oError:OsCode == 32 .OR. oError:OsCode == 5 ) ;
        .AND. oError:CanDefault
      NetErr( .T. )
      RETURN .F.
   CASE oError:GenCode == EG_APPENDLOCK .AND. oError:CanDefault
      NetErr( .T. )
      RETURN .F.
   ENDCASE
   // An error raised while the error dialog itself runs ends the program at once.
   IF Left( ProcName( 7 ), 10 ) == "ERRORDIALO"
      EndProgram()
   ENDIF
   // From here on any further error only shows its message and ends the program (exit code 1).
   ErrorBlock( {|oNext| MsgStop( ErrorMessage( oNext ) + " von Errorsys, Zeile :" + ;
                                 Str( ProcLine( 1 ), 3 ) ), EndProgram() } )
   cDescLine := "   Fehler Beschreibung : " + ErrorMessage( oError ) + CRLF
   cReport := ReportHeader( cDescLine ) + ReportArguments( oError ) + ;
              ReportCallStack( aStack ) + ReportSystem()
   IF oError:CanRetry
      nButtons++
   ENDIF
   IF oError:CanDefault
      nButtons++
   ENDIF
   cReport += ReportVariables() + ReportDrivers() + ReportTables() + ReportClasses() + ;
              ReportMemory()
   C_DIR := ProgramPath()
   C_PFAD := ProgramFolder( C_DIR )
   cReportName := WriteReport( C_PFAD, cReport )
   lRet := ShowErrorDialog( oError, cDescLine, aStack, nButtons, C_PFAD, cReportName )
   IF lRet == NIL .OR. ( lRet .AND. ! lWRunning() )
      EndProgram()
   ENDIF
RETURN lRet

// The text of an error: its kind, subsystem and code, description, and file or operation.
FUNCTION ErrorMessage( oError )
   LOCAL cMessage

   IF Empty( oError:OsCode )
      cMessage := IIf( oError:Severity > 1, "Error ", "Warning " )
   ELSE
      cMessage := "(DOS Error " + IntText( oError:OsCode ) + ") "
   ENDIF
   cMessage += IIf( ValType( oError:SubSystem ) == "C", oError:SubSystem, "???" )
   cMessage += IIf( ValType( oError:SubCode ) == "N", "/" + IntText( oError:SubCode ), "/???" )
   IF ValType( oError:Description ) == "C"
      cMessage += "  " + oError:Description
   ENDIF
   IF ! Empty( oError:FileName )
      cMessage += ": " + oError:FileName
   ELSEIF ! Empty( oError:Operation )
      cMessage += ": " + oError:Operation
   ENDIF
RETURN cMessage

// Leaves the sequence in progress; the error block while the report file is written.
FUNCTION DoBreak()
   Break( NIL )
RETURN NIL

// Ends the program with exit code 1.
PROCEDURE EndProgram()
   FreeResources()
   ErrorLevel( 1 )
   PostQuitMessage( 0 )
   __Quit()
RETURN
