// UPPER and LOWER change the 26 ASCII letters and leave every other byte as it is (accented
// letters of the code page too), on texts of every length, and refuse what is not text.
PROCEDURE Main()
   LOCAL cAll := "", n, cUp, cLow, nChanged := 0
   FOR n := 0 TO 255
      cAll += Chr( n )
   NEXT
   cUp := Upper( cAll )
   cLow := Lower( cAll )
   FOR n := 1 TO 256
      IF !( SubStr( cUp, n, 1 ) == SubStr( cAll, n, 1 ) ) .OR. !( SubStr( cLow, n, 1 ) == SubStr( cAll, n, 1 ) )
         nChanged++
      ENDIF
   NEXT
   ? Len( cUp ), Len( cLow ), nChanged
   ? SubStr( cUp, 98, 26 ), SubStr( cLow, 66, 26 )
   ? Upper( "" ) == "", Lower( "x" ), Upper( "x" ), Upper( "Müller straße" ), Lower( "ÄÖÜ ABC" )
   ? Upper( Lower( cAll ) ) == Upper( cAll ), Lower( Upper( cAll ) ) == Lower( cAll )
   ErrorBlock( {| e | Break( e ) } )
   BEGIN SEQUENCE
      Upper( 12 )
   RECOVER USING n
      ? n:Operation, n:SubCode
   END SEQUENCE
RETURN
