// DESCEND of each key type, and descending tags built with it: order and seeks.
PROCEDURE Main()
   LOCAL aRows := { { "pear", 3, 20240105, .T. }, { "apple", 10, 20231231, .F. }, ;
                    { "fig", -2.5, 20240229, .T. }, { "Zed", 0, 20240101, .F. }, { "kiwi", 7, 20240105, .T. } }
   LOCAL r
   ? Descend( "A" ) == Chr( 191 ), Descend( Chr( 0 ) + Chr( 1 ) ) == Chr( 0 ) + Chr( 255 ), Descend( Descend( "xyz" ) )
   ? Descend( 5 ), Descend( -2.5 ), Descend( 0 ), Descend( .T. ), Descend( .F. ), Descend()
   ? Descend( SToD( "20240101" ) ), Descend( SToD( "20240101" ) ) < Descend( SToD( "20231231" ) ), ValType( Descend( Date() ) ), Descend( "" ) == ""
   DbCreate( "fruit.dbf", { { "NAME", "C", 8, 0 }, { "QTY", "N", 6, 1 }, { "DAY", "D", 8, 0 }, { "RIPE", "L", 1, 0 } }, "DBFCDX" )
   USE fruit VIA "DBFCDX" EXCLUSIVE NEW
   FOR EACH r IN aRows
      APPEND BLANK
      REPLACE NAME WITH r[ 1 ], QTY WITH r[ 2 ], DAY WITH SToD( Str( r[ 3 ], 8 ) ), RIPE WITH r[ 4 ]
   NEXT
   INDEX ON Descend( NAME ) TAG dname
   INDEX ON Descend( QTY ) TAG dqty
   INDEX ON Descend( DAY ) TAG dday
   INDEX ON Descend( Upper( NAME ) ) TAG dupper
   ShowOrder( "dname" )
   ShowOrder( "dqty" )
   ShowOrder( "dday" )
   ShowOrder( "dupper" )
   OrdSetFocus( "dname" )
   ? DbSeek( Descend( "fig" ) ), FIELD->NAME, DbSeek( Descend( "kiwi    " ) ), FIELD->NAME, DbSeek( Descend( "grape" ) )
   SET SOFTSEEK ON
   ? DbSeek( Descend( "grape" ) ), FIELD->NAME
   SET SOFTSEEK OFF
   OrdSetFocus( "dqty" )
   ? DbSeek( Descend( 7 ) ), FIELD->NAME, DbSeek( Descend( -2.5 ) ), FIELD->NAME, DbSeek( Descend( 4 ) )
   OrdSetFocus( "dday" )
   ? DbSeek( Descend( SToD( "20240105" ) ) ), FIELD->NAME, OrdKeyCount()
   DbCloseAll()
RETURN

PROCEDURE ShowOrder( cTag )
   LOCAL c := ""
   OrdSetFocus( cTag )
   GO TOP
   DO WHILE ! Eof()
      c += AllTrim( FIELD->NAME ) + " "
      SKIP
   ENDDO
   ? cTag + ":", c
RETURN
