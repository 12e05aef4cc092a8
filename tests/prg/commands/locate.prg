// LOCATE with FOR, WHILE and REST; CONTINUE to the next match; FIND and SEEK in an index.
PROCEDURE Main()
   MakePeople()
   LOCATE FOR CITY = "Hamburg"
   ? "first", RecNo(), Trim( NAME ), Found()
   CONTINUE
   ? "second", RecNo(), Trim( NAME ), Found()
   CONTINUE
   ? "third", RecNo(), Trim( NAME ), Found()
   CONTINUE
   ? "none", Eof(), Found()
   GO 4
   LOCATE FOR AGE < 30 REST
   ? "rest", RecNo(), Trim( NAME )
   GO TOP
   LOCATE FOR CITY = "Munich" WHILE AGE < 50
   ? "while stops", Found(), RecNo()
   INDEX ON NAME TAG byname
   FIND Eva
   ? "find", Found(), Trim( NAME )
   FIND "Clara"
   ? "find quoted", Found(), Trim( NAME )
   FIND ( "Ha" )
   ? "find expression", Found(), Trim( NAME )
   SEEK "Zorro"
   ? "seek missing", Found(), Eof()
   RETURN

#include "people.ch"
