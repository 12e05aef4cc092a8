// The end state: the index agrees with the table and every tag has one key per record.
PROCEDURE Main()
   LOCAL n
   USE shared SHARED NEW
   ? "records", RECCOUNT(), "check", CDXCHECK()
   FOR n := 1 TO ORDCOUNT()
      DBSETORDER(n)
      ? ORDNAME(), ORDKEYCOUNT() == RECCOUNT()
   NEXT
RETURN
