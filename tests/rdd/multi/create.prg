// Creates the table the appenders share.
PROCEDURE Main()
   DBCREATE("shared", {{"WRITER", "N", 2, 0}, {"SEQ", "N", 6, 0}, {"FILL", "C", 30, 0}, ;
                       {"CHECK", "N", 9, 0}})
RETURN
