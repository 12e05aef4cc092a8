PROCEDURE Main()
   LOCAL b := {|x| x * 2 + 1 }, i, n := 0
   FOR i := 1 TO 10000000
      n := Eval( b, i )
   NEXT
   ? n
RETURN
