// COPY TO, COPY STRUCTURE TO, APPEND FROM, SORT TO and TOTAL ON, each read back.
PROCEDURE Main()
   MakePeople()
   COPY TO berlin FIELDS NAME, AGE FOR CITY = "Berlin"
   USE berlin NEW
   ? "copy", LastRec(), FCount(), Trim( NAME ), AGE
   CLOSE
   SELECT people
   COPY STRUCTURE TO empty
   USE empty NEW
   ? "structure", LastRec(), FCount(), FieldName( 4 )
   APPEND FROM berlin FOR AGE > 30
   ? "append from", LastRec()
   GO TOP
   ? "first appended", Trim( NAME ), AGE, Empty( CITY )
   CLOSE
   SELECT people
   COPY STRUCTURE TO names FIELDS NAME, CITY
   USE names NEW
   ? "structure fields", FCount(), FieldName( 1 ), FieldName( 2 )
   CLOSE
   SELECT people
   SORT TO sorted ON CITY, AGE /D
   USE sorted NEW
   ?
   DO WHILE ! Eof()
      ?? Trim( NAME ) + " "
      SKIP
   ENDDO
   ?
   CLOSE
   SELECT people
   SORT TO young ON NAME FOR AGE < 40
   USE young NEW
   ? "sort for", LastRec(), Trim( NAME )
   CLOSE
   SELECT people
   INDEX ON CITY TAG city
   TOTAL ON CITY TO bycity FIELDS SALARY, AGE
   USE bycity NEW
   DO WHILE ! Eof()
      ? Trim( CITY ), AGE, SALARY
      SKIP
   ENDDO
   CLOSE
   RETURN

#include "people.ch"
