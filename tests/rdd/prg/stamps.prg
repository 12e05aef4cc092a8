// Stamp fields set on every write, auto-increment on append, and field bytes to and from files.
PROCEDURE Main()
   LOCAL tFirst
   ERRORBLOCK({|e| BREAK(e)})
   DBCREATE("st", {{"ID", "+", 4, 0}, {"CHANGED", "=", 8, 0}, {"VER", "^", 8, 0}, ;
                   {"NAME", "C", 8, 0}, {"NOTE", "M", 10, 0}})
   USE st NEW
   DBAPPEND()
   FIELDPUT(4, "one")
   DBAPPEND()
   FIELDPUT(4, "two")
   DBGOTOP()
   ? ID, VER, VALTYPE(CHANGED), CHANGED != NIL, DTOS(CHANGED) == DTOS(DATE())
   DBSKIP()
   ? ID, VER, NAME
   FIELDPUT(4, "two b")
   DBSKIP(0)
   ? ID, VER, NAME
   TryPrint({|| FIELDPUT(1, 99)})
   ? DBFILEGET(4, "name.txt", 0), MEMOREAD("name.txt") == "two b   "
   ? DBFILEGET(4, "name.txt", 1), LEN(MEMOREAD("name.txt"))
   MEMOWRIT("in.txt", "from a file that is longer")
   ? DBFILEPUT(4, "in.txt"), "[" + NAME + "]"
   ? DBFILEPUT(5, "in.txt"), NOTE
   ? DBFILEGET(5, "note.txt"), MEMOREAD("note.txt")
   TryPrint({|| DBFILEPUT(4, "missing.txt")})
RETURN

FUNCTION TryPrint(bCode)
   LOCAL oErr
   BEGIN SEQUENCE
      ? "value", EVAL(bCode)
   RECOVER USING oErr
      ? "error", oErr:genCode, oErr:subCode, oErr:description, oErr:osCode
   END SEQUENCE
RETURN NIL
