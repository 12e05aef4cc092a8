// TYPE of expressions through the macro compiler, and get/set blocks of variables.
MEMVAR cPub, nPriv
PROCEDURE Main()
   LOCAL nLocal := 1, b, e
   PUBLIC cPub := "text"
   PRIVATE nPriv := 5
   ? Type( "1 + 2" ), Type( "'a' + 'b'" ), Type( "Date()" ), Type( ".T." ), Type( "{1, 2}" )
   ? Type( "{|| 1}" ), Type( "NIL" ), Type( "cPub" ), Type( "nPriv * 2" ), Type( "ErrorNew()" )
   ? Type( "{'a' => 1}" )
   // undefined names, syntax errors, expressions that raise, other functions
   ? Type( "undefined_name" ), Type( "nLocal" ), Type( "Undef->Field" ), Type( "1 +" ), Type( ")" )
   ? Type( "1 + 'a'" ), Type( "cPub + 1" ), Type( "Substr( 5 )" ), Type( "1 / 0" )
   ? Type( "MyFunc()" ), Type( "NoSuchFunction( 1 )" ), Type( "Upper( MyFunc() )" ), Type( "'MyFunc()'" )
   ? Type( "" ), Type( "   " ), Type( "cPub:Len()" )
   ? "after", ErrorBlock() != NIL
   TRY
      Type( 5 )
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation
   END
   // memory-variable blocks
   b := MemvarBlock( "cPub" )
   ? ValType( b ), Eval( b ), Eval( b, "new" ), cPub
   b := MemvarBlock( " npriv " )
   ? Eval( b ) + 1, Eval( b, 9 ), nPriv
   ? MemvarBlock( "nLocal" ), MemvarBlock( "NoSuchVar" ), MemvarBlock( "a) + (b" )
   TRY
      MemvarBlock( 1 )
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation
   END
RETURN

FUNCTION MyFunc()
   ? "MyFunc must not run"
RETURN 1
