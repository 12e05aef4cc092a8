// Character classes, sound codes, zero-padded numbers and returns in memo text.
PROCEDURE Main()
   ? IsAlpha( "abc" ), IsAlpha( "1a" ), IsAlpha( "" ), IsAlpha( 5 ), IsAlpha( "_x" )
   ? IsDigit( "7up" ), IsDigit( "x7" ), IsDigit( "" ), IsDigit( NIL )
   ? IsUpper( "Abc" ), IsUpper( "aBC" ), IsLower( "abc" ), IsLower( "Abc" ), IsLower( "" )
   ? Soundex( "Robert" ), Soundex( "Rupert" ), Soundex( "Ashcraft" ), Soundex( "Tymczak" )
   ? Soundex( "Pfister" ), Soundex( "Lee" ), Soundex( "o'Hara-Smith" ), Soundex( "A" )
   ? "[" + Soundex( "" ) + "]", "[" + Soundex( "123 !?" ) + "]", Len( Soundex( "Washington" ) )
   ? Len( Str( 1.5, 300 ) ), StrZero( 5, 4 ), StrZero( -5, 4 ), StrZero( 3.14159, 8, 3 ), StrZero( 12345, 3 ), StrZero( 42 )
   ? HardCR( "one" + Chr( 141 ) + Chr( 10 ) + "two" ) == "one" + Chr( 13 ) + Chr( 10 ) + "two"
   ? MemoTran( "a" + Chr( 13 ) + Chr( 10 ) + "b" + Chr( 141 ) + Chr( 10 ) + "c" )
   ? MemoTran( "a" + Chr( 13 ) + Chr( 10 ) + "b", "<br>", "~" ), MemoTran( "x" + Chr( 141 ) + "y" )
   ? Word( 3.9 ), Word( -2.5 )
   ShowError( {|| Soundex( 5 ) } )
   ShowError( {|| StrZero( "5" ) } )
   ShowError( {|| Str( 1.5, 10000000000 ) } )
   ShowError( {|| StrZero( 1, 5, 100000 ) } )
   ShowError( {|| HardCR() } )
   ShowError( {|| MemoTran( "a", 1 ) } )
   ShowError( {|| Word( "1" ) } )
RETURN

PROCEDURE ShowError( b )
   LOCAL e
   TRY
      Eval( b )
      ? "no error"
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation, Len( e:Args )
   END
RETURN
