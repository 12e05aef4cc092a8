// Loops, branches and SWITCH, with bodies long enough to need wide jumps.
PROCEDURE Main()
   LOCAL i, n, c, a := { "x", "y", "z" }, h := { "b" => 2, "a" => 1 }
   n := 0
   FOR i := 10 TO 1 STEP -3
      n += i
   NEXT
   ? "step", n, i
   i := 0
   DO WHILE .T.
      i++
      IF i % 2 == 0
         LOOP
      ENDIF
      IF i > 7
         EXIT
      ENDIF
      ?? "", i
   ENDDO
   FOR EACH c IN a
      ?? "", c + Str( c:__enumIndex(), 1 )
   NEXT
   FOR EACH c IN "abc"
      ?? c
   NEXT
   FOR EACH c IN h
      ?? "", c
   NEXT
   FOR i := 1 TO 5
      ? Kind( i ), Grade( i * 20 )
   NEXT
   ? Long( 3 )
RETURN

FUNCTION Kind( n )
   LOCAL cOut := ""
   SWITCH n
   CASE 1
      cOut += "one"
   CASE 2
      cOut += "two"
      EXIT
   CASE 3
      cOut := "three"
      EXIT
   OTHERWISE
      cOut := "many"
   ENDSWITCH
RETURN cOut

FUNCTION Grade( n )
   DO CASE
   CASE n < 50
      RETURN "low"
   CASE n < 90
      RETURN IIf( n < 70, "mid", "good" )
   ENDCASE
RETURN "top"

// A loop whose body is longer than a short jump reaches.
FUNCTION Long( n )
   LOCAL i, s := 0
   FOR i := 1 TO n
      s += i * 1 + i * 2 + i * 3 + i * 4 + i * 5 + i * 6 + i * 7 + i * 8 + i * 9 + i * 10
      s += i * 1 + i * 2 + i * 3 + i * 4 + i * 5 + i * 6 + i * 7 + i * 8 + i * 9 + i * 10
      s += i * 1 + i * 2 + i * 3 + i * 4 + i * 5 + i * 6 + i * 7 + i * 8 + i * 9 + i * 10
      s += i * 1 + i * 2 + i * 3 + i * 4 + i * 5 + i * 6 + i * 7 + i * 8 + i * 9 + i * 10
   NEXT
RETURN s
