// Every operator given operands of the wrong types: generic code, subcode, operation, argument
// types, the flags, and the handler's substitute used as the operator's result.
PROCEDURE Main()
   LOCAL x, a := { 1, 2 }, d := 0d20240301, n := 1, o := ErrorNew()
   ErrorBlock( {| e | Show( e ) } )
   T( {|| 1 + "a" } )
   T( {|| "a" - n } )
   T( {|| "a" * 2 } )
   T( {|| {} / 1 } )
   T( {|| .T. % 2 } )
   T( {|| "x" ^ 2 } )
   T( {|| "x" ** 2 } )
   T( {|| 1 / 0 } )
   T( {|| 5 % 0 } )
   T( {|| -"a" } )
   T( {|| x := "a", x++, x } )
   T( {|| x := NIL, --x, x } )
   T( {|| 1 == "ab" } )
   T( {|| 1 = "ab" } )
   T( {|| 1 != "ab" } )
   T( {|| 1 <> "ab" } )
   T( {|| 1 # "ab" } )
   T( {|| 1 < "ab" } )
   T( {|| 1 <= "ab" } )
   T( {|| 1 > "ab" } )
   T( {|| 1 >= "ab" } )
   T( {|| .T. < 1 } )
   T( {|| 1 $ "a" } )
   T( {|| .NOT. 1 } )
   T( {|| ! "a" } )
   T( {|| d + d } )
   T( {|| 1 - d } )
   T( {|| NIL + 1 } )
   T( {|| a + a } )
   T( {|| o + 1 } )
   T( {|| &( 1 ) } )
   T( {|| &( "1 +* 2" ) } )
   T( {|| Undefined_Fn( 1, "b" ) } )
   T( {|| x := NIL, x:NoSuchMethod } )
   T( {|| a:NoSuchMethod( 1 ) } )
   T( {|| o:NoSuchVar := 1 } )
   T( {|| MissingVar } )
   ? "no error", 65 = "A", "A" < 66, 1 == "a", d > 2460000, 2.5 < 3
RETURN

PROCEDURE T( b )
   LOCAL r
   BEGIN SEQUENCE
      r := Eval( b )
      ?? " ->", r
   RECOVER USING r
      ?? " -> break", r
   END SEQUENCE
RETURN

// Prints the error on a new line; substitutes "sub" when allowed, else leaves by BREAK.
FUNCTION Show( e )
   LOCAL i, c := ""
   IF ValType( e:Args ) == "A"
      FOR i := 1 TO Len( e:Args )
         c += ValType( e:Args[ i ] )
      NEXT
   ENDIF
   ? e:SubSystem, e:GenCode, e:SubCode, e:Operation, e:Description, ;
     IIF( e:CanSubstitute, "S", "-" ) + IIF( e:CanRetry, "R", "-" ) + IIF( e:CanDefault, "D", "-" ), c
   IF ! e:CanSubstitute
      Break( "nosub" )
   ENDIF
RETURN "sub"
