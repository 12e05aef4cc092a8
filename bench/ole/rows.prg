// 200,000 rows of 5 cells (a number, three texts, a decimal number) put through the
// Automation bridge and saved as .xlsx. Argument: the file to write.
PROCEDURE Main( cFile )
   LOCAL oExcel, oBook, oSheet, nRow
   oExcel := TOleAuto():New( "Excel.Application" )
   oBook := oExcel:Workbooks():Add()
   oSheet := oExcel:ActiveSheet
   FOR nRow := 1 TO 200000
      oSheet:Cells( nRow, 1 ):Value := nRow
      oSheet:Cells( nRow, 2 ):Value := "Kunde " + LTrim( Str( nRow % 997 ) )
      oSheet:Cells( nRow, 3 ):Value := "R" + LTrim( Str( nRow ) )
      oSheet:Cells( nRow, 4 ):Value := "Program " + LTrim( Str( nRow % 10 ) )
      oSheet:Cells( nRow, 5 ):Value := nRow / 4
   NEXT
   oExcel:DisplayAlerts := .F.
   oBook:SaveAs( cFile )
RETURN
