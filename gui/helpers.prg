// Library services for error reports and tools: CVALTOCHAR, FSIZE, TIMEFROMSTART and TReg32,
// a read-only view of a registry key.
#include "gui.ch"

#define KEY_ALL_ACCESS  0xF003F
#define KEY_READ        0x20019

// A value as text: text unchanged, dates by DTOC, ".T."/".F.", numbers trimmed, "{|| ... }"
// for blocks, "{ ... }" for arrays, "Object" for objects, "" for anything else.
FUNCTION cValToChar( xValue )
   SWITCH ValType( xValue )
   CASE "C"
   CASE "M"
      RETURN xValue
   CASE "D"
      RETURN DToC( xValue )
   CASE "L"
      RETURN iif( xValue, ".T.", ".F." )
   CASE "N"
      RETURN AllTrim( Str( xValue ) )
   CASE "B"
      RETURN "{|| ... }"
   CASE "A"
      RETURN "{ ... }"
   CASE "O"
      RETURN "Object"
   ENDSWITCH
RETURN ""

// The size of the first DIRECTORY entry for the name, or 0.
FUNCTION FSize( cFile )
   LOCAL aFiles := Directory( cFile )
RETURN iif( Empty( aFiles ), 0, aFiles[ 1 ][ 2 ] )

// The time since the program started: "H hours M mins S secs ".
FUNCTION TimeFromStart()
   LOCAL nSecs := Int( ProgramSeconds() )
RETURN LTrim( Str( Int( nSecs / 3600 ) ) ) + " hours " + LTrim( Str( Int( nSecs % 3600 / 60 ) ) ) + ;
       " mins " + LTrim( Str( nSecs % 60 ) ) + " secs "

CLASS TReg32
   DATA hKey INIT 0
   DATA nError INIT 0
   DATA lError INIT .F.

   METHOD New( nKey, cRegKey ) CONSTRUCTOR
   METHOD Get( cSubKey, uDefault )
   METHOD Close()
ENDCLASS

// Opens the key with full access, else for reading; the key is never created.
METHOD New( nKey, cRegKey ) CLASS TReg32
   ::hKey := RegOpenKey( nKey, cRegKey, KEY_ALL_ACCESS )
   IF ::hKey == 0
      ::hKey := RegOpenKey( nKey, cRegKey, KEY_READ )
   ENDIF
   ::lError := ( ::hKey == 0 )
   ::nError := iif( ::lError, 2, 0 )
RETURN Self

// The value's text without zero bytes, or uDefault ("" when not given) when it is missing.
METHOD Get( cSubKey, uDefault ) CLASS TReg32
   LOCAL cValue := iif( ::hKey == 0, NIL, RegQueryValue( ::hKey, cSubKey ) )
   IF cValue == NIL
      RETURN iif( uDefault == NIL, "", uDefault )
   ENDIF
RETURN StrTran( cValue, Chr( 0 ), "" )

METHOD Close() CLASS TReg32
   IF ::hKey != 0
      RegCloseKey( ::hKey )
      ::hKey := 0
   ENDIF
RETURN NIL
