// The library services an error report calls: values as text, file size, time since start,
// the registry (read only), processor, memory, version and the running windows.
#define HKEY_LOCAL_MACHINE 0x80000002

PROCEDURE Main()
   LOCAL oReg, oDlg, aVersion
   SET( 4, "dd.mm.yyyy" )
   ? cValToChar( "text" ), cValToChar( SToD( "20240131" ) ), cValToChar( .F. ), cValToChar( 12.50 ), ;
     cValToChar( {|| 1 } ), cValToChar( { 1 } ), cValToChar( TBrush():New( , 3 ) ), "[" + cValToChar( NIL ) + "]"
   MemoWrit( "size.txt", Replicate( "x", 1234 ) )
   ? "fsize", FSize( "size.txt" ), FSize( "missing.txt" )
   ? "time", TimeFromStart() == "0 hours 0 mins 0 secs "
   oReg := TReg32():New( HKEY_LOCAL_MACHINE, "HARDWARE\DESCRIPTION\System\CentralProcessor\0" )
   ? "cpu name", ! Empty( oReg:Get( "ProcessorNameString" ) ), "missing value", "[" + oReg:Get( "NoSuchValue" ) + "]"
   oReg:Close()
   oReg := TReg32():New( HKEY_LOCAL_MACHINE, "SOFTWARE\NoSuchKey" )
   ? "missing key", oReg:lError, oReg:Get( "x", "default" )
   ? "cpu speed", GetCpuSpeed() > 0, "memory", NextMem() > 1048576, "free", GetFreeSystemResources( 0 )
   aVersion := GetVersion()
   ? "version", Len( aVersion ), ValType( aVersion[ 1 ] ), ValType( aVersion[ 5 ] ), "nt", IsWinNT()
   ? "bitmap", LoadBitmap( 0, "Ende_5" ), "notepad on a missing file", WinExec( "Notepad.exe missing.log", 1 )
   oDlg := TDialog():New( 1, 1, 5, 30, "Task list test" )
   oDlg:Activate( , , , , , , {|| QOut( "tasks", AScan( GetTasks(), "Task list test" ) > 0 ), oDlg:End(), .T. } )
RETURN
