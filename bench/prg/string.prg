PROCEDURE Main()
   LOCAL s := "", i
   FOR i := 1 TO 1048576
      s += "x"
   NEXT
   ? Len( s )
RETURN
