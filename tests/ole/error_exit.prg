// An Automation error that no handler of the program's own answers ends the program with
// exit code 1 while server objects are still held in variables: their references are given
// back during the shut-down without running code, so the program ends cleanly.
PROCEDURE Main()
   LOCAL oExcel, oBook, oSheet
   oExcel := TOleAuto():New( "Excel.Application" )
   oBook := oExcel:Workbooks():Add()
   oSheet := oExcel:ActiveSheet
   ? "before", oSheet:Name
   oSheet:Cells( 1, 1 ):NoSuchMember()
   ? "not reached"
RETURN
