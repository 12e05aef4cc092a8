// The frame every export shares: a one-sheet workbook of the spreadsheet application with the
// column formats, the labelled first row, the title and the heading row; the progress line and
// meter; saving the workbook in the program folder, checking it and showing the application.
#include "xlforms.ch"

MEMVAR CDATNAME1, LGESENDE

// Creates the workbook and formats its columns: each entry of aColumns is { label, width,
// number format, horizontal alignment } for the columns from A on. Returns { oExcel, oBook,
// oSheet }.
FUNCTION XlsBegin( aColumns, oMeter, nTotal, oText )
   LOCAL oExcel := TOleAuto():New( "Excel.Application" )
   LOCAL oBook := oExcel:Workbooks:Add()
   LOCAL nSheets := oExcel:Sheets:Count
   LOCAL oSheet, oWindow, oRange, n

   FOR n := 1 TO nSheets - 1
      oExcel:Worksheets( 1 ):Delete()
   NEXT
   oExcel:DisplayAlerts := .F.
   oSheet := oExcel:ActiveSheet
   oWindow := oExcel:ActiveWindow
   oSheet:Name := "Excel-Test"
   oSheet:Cells( 3, 1 ):Select()
   oWindow:FreezePanes := .T.
   oSheet:Cells:Font:Size := 10
   oSheet:Cells:Font:Name := "Arial"
   FOR n := 1 TO Len( aColumns )
      oSheet:Cells( 1, n ):Font:Size := 9
      oSheet:Cells( 1, n ):Font:Bold := .T.
      oSheet:Cells( 1, n ):Value := aColumns[ n, 1 ]
      oSheet:Columns( n ):HorizontalAlignment := aColumns[ n, 4 ]
      oSheet:Columns( n ):ColumnWidth := aColumns[ n, 2 ]
      oSheet:Columns( n ):NumberFormat := aColumns[ n, 3 ]
   NEXT
   oRange := oSheet:Range( "A" + Chr( 48 + 1 ) + ":" + Chr( 64 + Len( aColumns ) ) + Chr( 48 + 1 ) )
   oRange:Borders( XL_EDGEBOTTOM ):LineStyle := XL_CONTINUOUS
   oRange:Borders( XL_EDGEBOTTOM ):Weight := XL_THIN
   oRange:Borders( XL_EDGEBOTTOM ):ColorIndex := XL_AUTOMATIC
   oText:SetText( CDATNAME1 )
   oMeter:nTotal := nTotal
   SysRefresh()
RETURN { oExcel, oBook, oSheet }

// The title in A1, bold 12 point, merged over cMerge.
PROCEDURE XlsTitle( oSheet, cTitle, cMerge )
   oSheet:Cells( 1, 1 ):Font:Size := 12
   oSheet:Cells( 1, 1 ):Font:Bold := .T.
   oSheet:Cells( 1, 1 ):Value := cTitle
   oSheet:Cells( 1, 1 ):HorizontalAlignment := XL_LEFT
   oSheet:Range( cMerge ):Merge()
RETURN

// The heading row 3: white bold 10 point on navy over cRange, the headings from column 1 on.
PROCEDURE XlsHeadings( oSheet, cRange, aHeads )
   LOCAL oRange := oSheet:Range( cRange )
   LOCAL n

   oRange:Interior:Color := CLR_NAVY
   oRange:Font:Color := CLR_WHITE
   oRange:Font:Bold := .T.
   oRange:Font:Size := 10
   FOR n := 1 TO Len( aHeads )
      oSheet:Cells( 3, n ):Value := aHeads[ n ]
   NEXT
RETURN

// A cell in bold red.
PROCEDURE XlsRedBold( oCell )
   oCell:Font:Bold := .T.
   oCell:Font:Color := CLR_RED
RETURN

// The record lines nFirst to nLast of a group, columns cFirstCol to cLastCol, in blue: one
// font change over the group gives every cell the format a change per cell would.
PROCEDURE XlsBlue( oSheet, cFirstCol, cLastCol, nFirst, nLast )
   oSheet:Range( cFirstCol + LTrim( Str( nFirst, 10, 0 ) ) + ":" + cLastCol + LTrim( Str( nLast, 10, 0 ) ) ):Font:Color := CLR_BLUE
RETURN

// After each record: the meter shows nPos, the text line cText, and waiting messages (among
// them a press of Cancel) are handled. The text line is set only when its text changes (within
// a group every record names the same customer or product).
PROCEDURE XlsProgress( oMeter, nPos, oText, cText )
   oMeter:Set( nPos )
   IF !( oText:cCaption == cText )
      oText:SetText( cText )
   ENDIF
   SysRefresh()
RETURN

// Saves the workbook as cFile, says so when no file came of it, and shows the application.
// A cancelled export is remembered for the launchers.
PROCEDURE XlsFinish( aXls, lEnd, cFile )
   IF lEnd
      LGESENDE := .T.
   ENDIF
   aXls[ 3 ]:Cells( 2, 1 ):Select()
   aXls[ 2 ]:SaveAs( cFile )
   IF ! File( cFile )
      MsgAlert( "Das EXEL - Formular : " + CRLF + cFile + CRLF + "wurde nicht erzeugt !", "ACHTUNG" )
   ENDIF
   aXls[ 1 ]:Visible := .T.
RETURN
