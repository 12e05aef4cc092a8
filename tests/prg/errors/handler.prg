// A program's own error block: retry until a variable exists, default, substitution, BREAK.
MEMVAR Missing
PROCEDURE Main()
   LOCAL nTries := 0, bOld, x
   bOld := ErrorBlock( {|e| Handler( e, @nTries ) } )
   x := Missing
   ? "retried", nTries, x
   ? "substituted", "a" * 2
   BEGIN SEQUENCE
      x := {}[ 1 ]
   RECOVER USING x
      ? "break value", ValType( x ), x:SubCode
   END SEQUENCE
   ErrorBlock( bOld )
   ? "level", ErrorLevel(), ErrorLevel( 3 )
RETURN

FUNCTION Handler( e, nTries )
   IF e:GenCode == 14
      nTries++
      IF nTries == 2
         PUBLIC Missing := "now there"
      ENDIF
      RETURN .T.
   ENDIF
   IF e:CanSubstitute .AND. e:SubCode == 1083
      RETURN "subst"
   ENDIF
   Break( e )
RETURN .F.
