// Creates the soak table: worker, sequence number, name, note (memo), and three tags.
PROCEDURE Main()
   DBCREATE("soak", {{"WORKER", "N", 4, 0}, {"SEQ", "N", 8, 0}, {"NAME", "C", 24, 0}, ;
                     {"NOTE", "M", 10, 0}})
   USE soak EXCLUSIVE
   ORDCREATE(, "WS", "STR(WORKER, 4) + STR(SEQ, 8)", {|| STR(WORKER, 4) + STR(SEQ, 8)}, .F.)
   ORDCREATE(, "NAME", "UPPER(NAME)", {|| UPPER(NAME)}, .F.)
   ORDCREATE(, "SEQ", "SEQ", {|| SEQ}, .F.)
   DBCLOSEAREA()
RETURN
