// Fields of a table mixed with string functions: 50,000 records written, then read back in one
// pass that trims, cuts, upper-cases, formats and joins their fields. Runs in the current folder.
PROCEDURE Main()
   LOCAL i, n := 0, s
   DBCREATE( "benchtab", { { "NAME", "C", 20, 0 }, { "CITY", "C", 15, 0 }, { "AMOUNT", "N", 10, 2 } } )
   USE benchtab EXCLUSIVE
   FOR i := 1 TO 50000
      APPEND BLANK
      REPLACE NAME WITH "customer " + LTrim( Str( i ) ), CITY WITH "city" + Str( i % 97, 3 ), ;
              AMOUNT WITH i * 1.25
   NEXT
   DBGOTOP()
   DO WHILE ! Eof()
      s := Upper( AllTrim( NAME ) ) + "/" + SubStr( CITY, 1, 4 ) + Right( RTrim( CITY ), 2 ) + ;
           Str( AMOUNT, 12, 2 )
      IF "9" $ s
         n += Len( s )
      ENDIF
      DBSKIP()
   ENDDO
   ? n
   DBCLOSEAREA()
   FERASE( "benchtab.dbf" )
RETURN
