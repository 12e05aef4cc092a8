// One million cell values put through the Automation bridge, as the exports put theirs:
// oSheet:Cells( nRow, nCol ):Value := x, numbers and texts alternating by column.
PROCEDURE Main()
   LOCAL oExcel, oSheet, nRow, nCol
   oExcel := TOleAuto():New( "Excel.Application" )
   oExcel:Workbooks():Add()
   oSheet := oExcel:ActiveSheet
   FOR nRow := 1 TO 100000
      FOR nCol := 1 TO 10
         IF nCol % 2 == 0
            oSheet:Cells( nRow, nCol ):Value := "Text"
         ELSE
            oSheet:Cells( nRow, nCol ):Value := nRow
         ENDIF
      NEXT
   NEXT
   ? oSheet:Cells( 100000, 9 ):Value
RETURN
