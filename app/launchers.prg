// The export launchers: each counts the records of work area 1 and runs one export inside the
// progress dialog; an export cancelled once makes every later launcher end with its alert.
#include "xlforms.ch"

MEMVAR C_PFAD, CDATNAME1, LGESENDE, NTOTAL, OCLP

FUNCTION EXCEL_1()
RETURN RunExport( {|oMeter, oText, oDlg, lEnd| DATA1EXC( oMeter, NTOTAL, oText, @lEnd ) }, ;
                  " EXCEL-Products will be created ...", "EXEL-Converting closed !", "ATTENTION" )

FUNCTION EXCEL_2()
RETURN RunExport( {|oMeter, oText, oDlg, lEnd| DATA2EXCEL( oMeter, NTOTAL, oText, @lEnd ) }, ;
                  " EXCEL-Positionen werden erzeugt ...", "EXEL-Konvertierung wird beendet !", "ACHTUNG" )

FUNCTION EXCEL_3()
RETURN RunExport( {|oMeter, oText, oDlg, lEnd| DATA3EXCEL( oMeter, NTOTAL, oText, @lEnd ) }, ;
                  " EXCEL-Produkte werden erzeugt ...", "EXEL-Konvertierung wird beendet !", "ACHTUNG" )

// Runs bExport in a progress dialog titled with the record count and cSuffix; afterwards the
// alert cAlert (titled cAlertTitle) when an export of this run has been cancelled.
STATIC FUNCTION RunExport( bExport, cSuffix, cAlert, cAlertTitle )
   DbSelectArea( 1 )
   NTOTAL := RecCount()
   DbGoTop()
   CDATNAME1 := C_PFAD + "\" + Alias()
   OCLP := TClipBoard():New()
   MsgMeter( bExport, CDATNAME1 + CRLF + " ", "Total : " + IntText( NTOTAL ) + cSuffix )
   IF LGESENDE
      MsgAlert( cAlert, cAlertTitle )
   ENDIF
   OCLP:End()
RETURN NIL
