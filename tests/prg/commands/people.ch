// The table the command tests work on: PEOPLE.DBF with eight records, created in the test's
// working folder and left open in a new work area under the alias PEOPLE.
STATIC PROCEDURE MakePeople()
   LOCAL aRows := { { "Anna",  "Berlin", 34, 3200.50, .T. }, ;
                    { "Bernd", "Hamburg", 45, 4100.00, .F. }, ;
                    { "Clara", "Berlin", 28, 2800.25, .T. }, ;
                    { "Dieter", "Munich", 52, 5300.00, .T. }, ;
                    { "Eva",   "Hamburg", 39, 3900.75, .F. }, ;
                    { "Frank", "Berlin", 61, 6100.00, .T. }, ;
                    { "Gerda", "Munich", 23, 2300.00, .F. }, ;
                    { "Hans",  "Hamburg", 47, 4700.50, .T. } }
   LOCAL aRow
   DBCREATE( "people", { { "NAME", "C", 10, 0 }, { "CITY", "C", 10, 0 }, ;
                         { "AGE", "N", 3, 0 }, { "SALARY", "N", 8, 2 }, { "ACTIVE", "L", 1, 0 } } )
   USE people NEW EXCLUSIVE
   FOR EACH aRow IN aRows
      APPEND BLANK
      REPLACE NAME WITH aRow[ 1 ], CITY WITH aRow[ 2 ], AGE WITH aRow[ 3 ], ;
              SALARY WITH aRow[ 4 ], ACTIVE WITH aRow[ 5 ]
   NEXT
   GO TOP
   RETURN
