PROCEDURE Main()
   LOCAL h := { => }, i, n := 0
   FOR i := 1 TO 1000000
      h[ i ] := i
   NEXT
   FOR i := 1 TO 1000000
      n += h[ i ]
   NEXT
   ? n
RETURN
