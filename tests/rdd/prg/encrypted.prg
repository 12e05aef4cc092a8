// Encrypted tables: created under a password, stored enciphered, readable only with the password.
PROCEDURE Main()
   RDDINFO(42, "geheim", "DBF")
   DBCREATE("enc", {{"NAME", "C", 12, 0}}, "DBF")
   USE enc NEW VIA "DBF"
   DBAPPEND()
   FIELDPUT(1, "confidential")
   ? NAME, DBRECORDINFO(6)
   DBCLOSEAREA()
   ? "file holds the text:", "confidential" $ MEMOREAD("enc.dbf"), FIRSTBYTE(MEMOREAD("enc.dbf"))
   RDDINFO(42, "", "DBF")
   USE enc NEW VIA "DBF"
   ? "without password:", NAME == "confidential", LEFT(DBRECORDINFO(7), 1)
   DBCLOSEAREA()
   RDDINFO(41, "geheim", "DBF")
   USE enc NEW VIA "DBF"
   ? "with pending password:", NAME
RETURN

FUNCTION FIRSTBYTE(c)
RETURN ASC(c)
