// REPLACE, DELETE and RECALL with and without scopes, PACK, and STORE.
PROCEDURE Main()
   LOCAL a, b, c, nCount
   MakePeople()
   REPLACE ALL SALARY WITH SALARY + 100 FOR CITY = "Munich"
   GO 4
   ? "munich raised", SALARY
   GO 7
   ? "munich raised", SALARY
   GO 1
   ? "others kept", SALARY
   REPLACE AGE WITH AGE + 1, NAME WITH "Anne"
   ? "current only", AGE, Trim( NAME )
   GO 2
   REPLACE NEXT 2 ACTIVE WITH .T.
   GO 2
   ? "next 2", ACTIVE, RecNo()
   SKIP
   ? "next 2", ACTIVE, RecNo()
   REPLACE people->CITY WITH "Bremen"
   ? "aliased field", Trim( CITY )
   DELETE ALL FOR AGE > 50
   COUNT TO nCount FOR Deleted()
   ? "deleted", nCount
   GO 1
   DELETE
   ? "delete current", Deleted()
   RECALL ALL FOR NAME = "Frank"
   COUNT TO nCount FOR Deleted()
   ? "after recall", nCount
   GO 1
   RECALL
   ? "recall current", Deleted()
   PACK
   ? "after pack", LastRec()
   DELETE ALL
   GO TOP
   RECALL WHILE AGE < 50 FOR CITY = "Berlin"
   COUNT TO nCount FOR Deleted()
   ? "recall while for", nCount
   STORE 7 TO a, b, c
   ? "store", a, b, c
   RETURN

#include "people.ch"
