// Calls the spreadsheet server rejects reach the program as Automation errors: a save into a
// folder that does not exist, a member the server lacks (with the class-name chain), a sheet
// that does not exist, a wrong argument type; a by-default handler substitutes.
PROCEDURE Main()
   LOCAL oExcel, oBook, oSheet, e
   oExcel := TOleAuto():New( "Excel.Application" )
   oBook := oExcel:Workbooks():Add()
   oSheet := oExcel:ActiveSheet
   oSheet:Cells( 1, 1 ):Value := "kept"
   TRY
      oBook:SaveAs( "no/such/folder/book.xls" )
   CATCH e
      ? "save", e:GenCode, e:SubCode, e:SubSystem, e:Operation
      ? "text", Left( e:Description, 20 ), "No such file" $ e:Description
      ? "source", OLEEXCEPTIONSOURCE()
   END
   ? "file", File( "no/such/folder/book.xls" )
   TRY
      oExcel:Workbooks():Frobnicate()
   CATCH e
      ? "unknown member", e:SubSystem, e:Operation, e:Description
   END
   TRY
      oExcel:Worksheets( 9 ):Delete()
   CATCH e
      ? "no such sheet", e:SubSystem, e:Operation, e:SubCode
   END
   TRY
      oSheet:Cells( "x", {} ):Value := 1
   CATCH e
      ? "bad argument", e:SubSystem, e:Operation, e:Description
   END
   ? "still there", oSheet:Cells( 1, 1 ):Value
   oExcel:DisplayAlerts := .F.
   oBook:SaveAs( "book.xls" )
   ? "saved", File( "book.xls" )
RETURN
