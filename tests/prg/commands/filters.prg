// SET FILTER and SET RELATION, set and cleared. The relation goes by record number: city 1 is
// Berlin, 2 Hamburg, 3 Munich.
PROCEDURE Main()
   LOCAL nCount, cFilter
   MakePeople()
   SET FILTER TO CITY = "Berlin"
   COUNT TO nCount
   ? "filtered", nCount, DBFilter()
   SET FILTER TO
   COUNT TO nCount
   ? "cleared", nCount, DBFilter() == ""
   cFilter := "AGE > 45"
   SET FILTER TO &cFilter
   COUNT TO nCount
   ? "macro filter", nCount, DBFilter()
   cFilter := ""
   SET FILTER TO &cFilter
   COUNT TO nCount
   ? "empty macro filter", nCount, DBFilter() == ""
   DBCREATE( "cities", { { "CITY", "C", 10, 0 }, { "STATE", "C", 12, 0 } } )
   USE cities NEW EXCLUSIVE
   APPEND BLANK
   REPLACE CITY WITH "Berlin", STATE WITH "Berlin"
   APPEND BLANK
   REPLACE CITY WITH "Hamburg", STATE WITH "Hamburg"
   APPEND BLANK
   REPLACE CITY WITH "Munich", STATE WITH "Bavaria"
   COPY TO cities2
   USE cities2 NEW
   SELECT people
   SET RELATION TO AScan( { "Berlin", "Hamburg", "Munich" }, Trim( CITY ) ) INTO cities
   GO 4
   ? "related", Trim( NAME ), Trim( cities->STATE ), DBRelation( 1 )
   SKIP
   ? "related", Trim( NAME ), Trim( cities->STATE )
   SET RELATION TO
   ? "relation cleared", DBRelation( 1 ) == ""
   SET RELATION TO 4 - RecNo() INTO cities, TO 1 INTO cities2 ADDITIVE
   ? "two relations", DBRelation( 1 ), DBRelation( 2 ), DBRSelect( 2 ) == Select( "cities2" )
   RETURN

#include "people.ch"
