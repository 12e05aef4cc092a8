// The sections of the error report: the program, the arguments of the failed operation, the
// call stack, the system, the variables of every call level, the table drivers, the open
// tables, the classes and the memory. Every line ends in CR LF. Call levels are counted from
// ErrorDialog, which calls these functions (level 1 is the error block, 2 the failing code).
#include "xlforms.ch"

#define HKEY_LOCAL_MACHINE 2147483650
#define LAST_LEVEL         73
#define LAST_AREA          255

FUNCTION ReportHeader( cDescLine )
   LOCAL cPath := ProgramPath()
RETURN Line( "Anwendung" ) + Line( Replicate( "=", 10 ) ) + ;
       Line( "   Pfad und Name : " + cPath + " (32 bits)" ) + ;
       Line( "   Gr" + OE_SMALL + SHARP_S + "e : " + Transform( FSize( cPath ), "999,999,999 bytes" ) ) + ;
       Line( "   Zeit ab Start : " + TimeFromStart() ) + ;
       Line( "   Fehler aufgetreten am : " + DToC( Date() ) + ", " + Time() ) + ;
       cDescLine

FUNCTION ReportArguments( oError )
   LOCAL aArgs := oError:Args
   LOCAL cText := "", n

   IF ValType( aArgs ) == "A"
      cText := Line( "   Args:" )
      FOR n := 1 TO Len( aArgs )
         cText += Line( "     [" + Str( n, 4 ) + "] = " + ValType( aArgs[ n ] ) + "   " + ;
                        cValToChar( aArgs[ n ] ) )
      NEXT
   ENDIF
RETURN cText

// The call stack, one line a level; the lines are also added to aStack for the dialog.
FUNCTION ReportCallStack( aStack )
   LOCAL cText := CRLF + Line( "Stack Aufrufe" ) + Line( Replicate( "=", 11 ) )
   LOCAL cCall, n

   FOR n := 2 TO LAST_LEVEL
      IF ! Empty( ProcName( n + 1 ) )
         cCall := "   Aufruf von : " + ProcFile( n + 1 ) + " => " + Trim( ProcName( n + 1 ) ) + ;
                  "(" + IntText( ProcLine( n + 1 ) ) + ")"
         AAdd( aStack, cCall )
         cText += Line( cCall )
      ENDIF
   NEXT
RETURN cText

FUNCTION ReportSystem()
   LOCAL aVersion := GetVersion()
   LOCAL aTasks := GetTasks()
   LOCAL cText, n

   cText := CRLF + Line( "System" ) + Line( Replicate( "=", 6 ) ) + ;
            Line( "   CPU type: " + GetCpu() + " " + IntText( GetCpuSpeed() ) + " Mhz" ) + ;
            Line( "   Hardware Memory: " + IntText( Int( NextMem() / 1048576 ) + 1 ) + " megs" ) + ;
            CRLF + ;
            Line( "   Freier System-Speicher : " + IntText( GetFreeSystemResources( 0 ) ) + " %" ) + ;
            Line( "   GDI    Speicher : " + IntText( GetFreeSystemResources( 1 ) ) + " %" ) + ;
            Line( "   Anwendungen   Speicher : " + IntText( GetFreeSystemResources( 2 ) ) + " %" ) + ;
            CRLF + ;
            Line( "   Compiler-Version: " + Version() ) + ;
            Line( "   Windows-Version: " + IntText( aVersion[ 1 ] ) + "." + IntText( aVersion[ 2 ] ) + ;
                  ", Stand " + IntText( aVersion[ 3 ] ) + " " + aVersion[ 5 ] ) + ;
            CRLF + ;
            Line( "   laufende Windows-Anwendungen gesamt : " + IntText( Len( aTasks ) ) )
   FOR n := 1 TO Len( aTasks )
      cText += Line( "    " + Str( n, 3 ) + " " + aTasks[ n ] )
   NEXT
RETURN cText

// The parameters and locals of every call level below the error handler.
FUNCTION ReportVariables()
   LOCAL cText := CRLF + Line( "Variable in Gebrauch " ) + Line( Replicate( "=", 20 ) ) + ;
                  Line( "   Prozedur     Typ   Wert" ) + Line( "   " + Replicate( "=", 26 ) )
   LOCAL nLevel, nParams, k

   FOR nLevel := 3 TO LAST_LEVEL + 1
      IF ! Empty( ProcName( nLevel ) )
         cText += Line( "   " + Trim( ProcName( nLevel ) ) )
         nParams := PV_ProcParamCount( nLevel )
         FOR k := 1 TO nParams
            cText += VariableLine( "Param", k, PV_ProcLocal( nLevel, k ) )
         NEXT
         FOR k := 1 TO PV_ProcLocalCount( nLevel )
            cText += VariableLine( "Local", k, PV_ProcLocal( nLevel, nParams + k ) )
         NEXT
      ENDIF
   NEXT
RETURN cText

STATIC FUNCTION VariableLine( cKind, k, xValue )
RETURN Line( "     " + cKind + " " + Str( k, 3 ) + ":    " + ValType( xValue ) + "    " + ;
             CGetInfo( xValue ) )

FUNCTION ReportDrivers()
   LOCAL cText := CRLF + Line( "Genutzte RDDs" ) + Line( Replicate( "=", 13 ) )
   LOCAL cDriver

   FOR EACH cDriver IN RddList( 1 )
      cText += Line( "   " + cDriver )
   NEXT
RETURN cText

// Every work area with an alias; each is read in its own area, the current one is restored.
FUNCTION ReportTables()
   LOCAL cText := CRLF + Line( "ge" + OE_SMALL + "ffnete Datenbank  " ) + Line( Replicate( "=", 19 ) )
   LOCAL nCurrent := Select()
   LOCAL nArea

   FOR nArea := 1 TO LAST_AREA
      IF ! Empty( Alias( nArea ) )
         DbSelectArea( nArea )
         cText += AreaLines( nArea, nCurrent )
      ENDIF
   NEXT
   DbSelectArea( nCurrent )
RETURN cText

STATIC FUNCTION AreaLines( nArea, nCurrent )
   LOCAL cText, k

   cText := CRLF + Line( Str( nArea, 3 ) + ": " + IIf( nArea == nCurrent, "=> ", Space( 3 ) ) + ;
                         PadR( Alias(), 15 ) + Space( 20 ) + "RddName: " + RddName() ) + ;
            Line( "     " + Replicate( "=", 30 ) ) + ;
            Line( "     RecNo    RecCount    BOF   EOF" ) + ;
            Line( "    " + Transform( RecNo(), "9999999" ) + Space( 6 ) + ;
                  Transform( RecCount(), "9999999" ) + Space( 6 ) + LogicalText( Bof() ) + ;
                  Space( 3 ) + LogicalText( Eof() ) ) + CRLF
   IF !( RddName() == "ARRAYRDD" )
      cText += Line( "     ge" + OE_SMALL + "ffnete Indexdateien " + Space( 23 ) + "TagName" )
      FOR k := 1 TO 15
         IF ! Empty( OrdKey( k ) )
            cText += Line( Space( 8 ) + IIf( k == IndexOrd(), "=> ", Space( 3 ) ) + ;
                           PadR( OrdKey( k ), 35 ) + OrdName( k ) )
         ENDIF
      NEXT
      cText += CRLF + Line( "     Relationen ge" + OE_SMALL + "ffnet : " )
      FOR k := 1 TO 8
         IF DbRSelect( k ) > 0
            cText += Line( Space( 8 ) + IntText( k ) + ": " + "TO " + DbRelation( k ) + ;
                           " INTO " + Alias( DbRSelect( k ) ) )
         ENDIF
      NEXT
   ENDIF
RETURN cText

FUNCTION ReportClasses()
   LOCAL cText := CRLF + Line( "genutzte Klassen :" ) + Line( Replicate( "=", 18 ) )
   LOCAL n

   FOR n := 1 TO __ClsCntClasses()
      cText += Line( "   " + Str( n, 3 ) + " " + __ClassName( n ) )
   NEXT
RETURN cText

FUNCTION ReportMemory()
RETURN CRLF + Line( "Speicher Analyse" ) + Line( Replicate( "=", 16 ) ) + ;
       Line( "      " + IntText( NStatics() ) + " Statische Variable" ) + CRLF + ;
       Line( "   Dynamischer Speicher-Verbrauch :" ) + ;
       Line( "      Aktueller Wert : " + IntText( Memory( 1001 ) ) + " bytes" ) + ;
       Line( "      H" + OE_SMALL + "chster Wert : " + IntText( Memory( 1002 ) ) + " bytes" )

// A value described for the variables section.
FUNCTION CGetInfo( xValue )
   DO CASE
   CASE ValType( xValue ) == "C"
      RETURN '"' + cValToChar( xValue ) + '"'
   CASE ValType( xValue ) == "O"
      RETURN "Class: " + xValue:ClassName()
   CASE ValType( xValue ) == "A"
      RETURN "Len: " + Str( Len( xValue ), 4 )
   ENDCASE
RETURN cValToChar( xValue )

// The processor's name from the registry ("" when it is not there).
FUNCTION GetCpu()
   LOCAL oReg := TReg32():New( HKEY_LOCAL_MACHINE, "HARDWARE\DESCRIPTION\System\CentralProcessor\0" )
   LOCAL cName := oReg:Get( "ProcessorNameString", "" )

   oReg:Close()
RETURN StrTran( cName, Chr( 0 ), "" )

STATIC FUNCTION Line( cText )
RETURN cText + CRLF

STATIC FUNCTION LogicalText( lValue )
RETURN IIf( lValue, ".T.", ".F." )
