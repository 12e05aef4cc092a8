// Creates the table the killed writers share: writer, sequence number, a name and a note
// (memo), with three tags.
PROCEDURE Main()
   DBCREATE("crash", {{"WRITER", "N", 4, 0}, {"SEQ", "N", 8, 0}, {"NAME", "C", 24, 0}, ;
                      {"NOTE", "M", 10, 0}})
   USE crash EXCLUSIVE
   ORDCREATE(, "WS", "STR(WRITER, 4) + STR(SEQ, 8)", {|| STR(WRITER, 4) + STR(SEQ, 8)}, .F.)
   ORDCREATE(, "NAME", "NAME", {|| NAME}, .F.)
   ORDCREATE(, "SEQ", "SEQ", {|| SEQ}, .F.)
   DBCLOSEAREA()
RETURN
