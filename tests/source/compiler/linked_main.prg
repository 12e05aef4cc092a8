// The main module of the linked-program test.
#include "sample.ch"

STATIC s_cGreeting := "started"

INIT PROCEDURE Boot()
   ?? "init;"
   RETURN

PROCEDURE Main( cArg )
   LOCAL o := TCounter():New( ANSWER )
   ?? s_cGreeting + ";" + cArg + ";"
   o:Add( 8 )
   ?? LTrim( Str( o:nValue ) ) + ";" + o:ClassName + ";"
   ?? LTrim( Str( Twice( 21 ) ) ) + ";"
   RETURN
