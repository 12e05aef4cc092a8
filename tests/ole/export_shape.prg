// A sheet built as the exports build theirs: one sheet named, column formats, a merged title,
// a coloured heading row, a bottom border, frozen rows, 1,000 data rows with bold red marks,
// totals, SaveAs and Visible. The workbook is read back by xlrd (export_shape.check.py).
PROCEDURE Main()
   LOCAL oExcel, oBook, oSheet, oWindow, oRange, nSheets, n, nRow, aColumns, nTotal := 0
   aColumns := { { "ID_NR", 5, "@", -4108 }, { "CUSTOMER", 12, "@", -4131 }, { "PRODUCT", 10, "@", -4131 } }
   oExcel := TOleAuto():New( "Excel.Application" )
   oBook := oExcel:Workbooks():Add()
   nSheets := oExcel:Sheets():Count()
   FOR n := 1 TO nSheets - 1
      oExcel:Worksheets( 1 ):Delete()
   NEXT
   oExcel:Set( "DisplayAlerts", .F. )
   oSheet := oExcel:Get( "ActiveSheet" )
   oWindow := oExcel:ActiveWindow
   oSheet:Name := "Excel-Test"
   oSheet:Cells( 3, 1 ):Select()
   oWindow:FreezePanes := .T.
   oSheet:Cells():Font():Size := 10
   oSheet:Cells():Font():Name := "Arial"
   FOR n := 1 TO Len( aColumns )
      oSheet:Cells( 1, n ):Font():Size := 9
      oSheet:Cells( 1, n ):Font():Bold := .T.
      oSheet:Cells( 1, n ):Value := aColumns[ n, 1 ]
      oSheet:Columns( n ):HorizontalAlignment := aColumns[ n, 4 ]
      oSheet:Columns( n ):ColumnWidth := aColumns[ n, 2 ]
      oSheet:Columns( n ):Set( "NumberFormat", aColumns[ n, 3 ] )
   NEXT
   oRange := oSheet:Range( "A" + Chr( 48 + 1 ) + ":" + Chr( 64 + Len( aColumns ) ) + Chr( 48 + 1 ) )
   oRange:Borders( 9 ):LineStyle := 1
   oRange:Borders( 9 ):Weight := 2
   oRange:Borders( 9 ):ColorIndex := -4105
   oSheet:Cells( 1, 1 ):Font():Size := 12
   oSheet:Cells( 1, 1 ):Font():Bold := .T.
   oSheet:Cells( 1, 1 ):Value := "Matrix-Sample"
   oSheet:Cells( 1, 1 ):HorizontalAlignment := -4131
   oSheet:Range( "A1:D1" ):Merge()
   oSheet:Range( "A3:C3" ):Interior():Color := 8388608
   oSheet:Range( "A3:C3" ):Font():Color := 16777215
   oSheet:Range( "A3:C3" ):Font():Bold := .T.
   oSheet:Range( "A3:C3" ):Font():Size := 10
   oSheet:Cells( 3, 1 ):Value := "ID-NR"
   oSheet:Cells( 3, 2 ):Value := "Kunde"
   oSheet:Cells( 3, 3 ):Value := "Produkt"
   nRow := 3
   FOR n := 1 TO 1000
      nRow++
      oSheet:Cells( nRow, 1 ):Value := n
      oSheet:Cells( nRow, 2 ):Value := "Kunde " + LTrim( Str( n ) )
      oSheet:Cells( nRow, 3 ):Value := "Program " + PadL( LTrim( Str( n % 10 + 1 ) ), 2, "0" )
      IF n % 250 == 0
         oSheet:Cells( nRow, 1 ):Font():Bold := .T.
         oSheet:Cells( nRow, 1 ):Font():Color := 255
         oSheet:Cells( nRow, 1 ):Select()
      ENDIF
      nTotal += n
   NEXT
   nRow += 2
   oSheet:Cells( nRow, 2 ):Font():Bold := .T.
   oSheet:Cells( nRow, 2 ):Font():Size := 12
   oSheet:Cells( nRow, 2 ):Value := "Sold : "
   oSheet:Cells( nRow, 3 ):Value := nTotal
   oSheet:Cells( 2, 1 ):Select()
   oBook:SaveAs( "export_shape.xls" )
   ? "saved", File( "export_shape.xls" )
   oExcel:Visible := .T.
   ? "visible", oExcel:Visible
   ? "sheets", oExcel:Sheets():Count(), oSheet:Name
   ? "read back", oSheet:Cells( 4, 1 ):Value, oSheet:Cells( 1003, 3 ):Value, oSheet:Cells( nRow, 3 ):Value
RETURN
