// A memo is replaced in one area while another area (another program, in real use) appends a
// record with a memo before the change is written. Until the changed record is in the file, the
// file's record still refers to the old value: its blocks must not be given to the new memo,
// and readers of the file see the old value intact. Once written, the old blocks are reused.
PROCEDURE Main()
   ERRORBLOCK({|e| BREAK(e)})
   DBCREATE("notes", {{"ID", "N", 4, 0}, {"NOTE", "M", 10, 0}}, "DBFCDX")
   USE notes SHARED
   DBAPPEND()
   REPLACE ID WITH 1, NOTE WITH REPLICATE("old one ", 20)
   DBCOMMIT()
   DBUNLOCK()
   USE notes SHARED NEW ALIAS N2
   DBGOTO(1)
   ? RLOCK()
   REPLACE NOTE WITH "new"                   // hot: the file still refers to the old value
   SELECT 1
   DBAPPEND()
   REPLACE ID WITH 2, NOTE WITH REPLICATE("another ", 20)
   DBCOMMIT()
   DBUNLOCK()
   DBGOTO(1)
   ? "before the write:", LEFT(NOTE, 16), LEN(NOTE)
   SELECT N2
   DBCOMMIT()
   DBUNLOCK()
   SELECT 1
   DBGOTO(1)
   ? "after the write:", NOTE
   DBGOTO(2)
   ? "the other:", LEFT(NOTE, 16), LEN(NOTE)
   DBAPPEND()
   REPLACE ID WITH 3, NOTE WITH REPLICATE("third ", 20)
   DBCOMMIT()
   DBUNLOCK()
   ? "file size:", DIRECTORY("notes.fpt")[1][2]
   DBGOTO(2)
   ? "still:", LEFT(NOTE, 16), LEN(NOTE)
   DBCLOSEALL()
RETURN
