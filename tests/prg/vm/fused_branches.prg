// Comparisons followed at once by a jump, by the short-circuit of .AND./.OR., or used as
// values, for integers, doubles, mixes and other types; FOR loops counting up and down.
PROCEDURE Main()
   LOCAL i, n := 0, a := 3, b := 4.5, l, s := "abc"
   ? 1 < 2, 2 < 1, 1.5 <= 1.5, 2 > 1.5, 3 >= 3.0, 3 == 3.0, 3 != 3, 2.5 = 2.5
   l := a < b .AND. b < 10
   ? l, ValType( l )
   l := a > b .AND. b < 10
   ? l
   l := a > b .OR. b < 10
   ? l
   l := a < b .OR. b > 10
   ? l
   l := a > b .OR. b > 10
   ? l
   IF a < b .AND. a > 1 .AND. b != 4
      ? "and chain"
   ENDIF
   IF a > b .OR. s == "abc"
      ? "or with text"
   ENDIF
   IF !( a >= b )
      ? "not"
   ENDIF
   FOR i := 10 TO 1 STEP -3
      n += i
   NEXT
   ? n, i
   FOR i := 1 TO 2.5 STEP 0.5
      ?? "", i
   NEXT
   ?
   n := 0
   DO WHILE n < 5 .AND. ( n * 1.5 ) < 6
      n++
   ENDDO
   ? n
   ? Classify( 5 ), Classify( -2 ), Classify( 0.0 ), Classify( 1000000000 * 3 )
   ? iif( s < "abd", "less", "not less" ), iif( Date() > CToD( "" ), "date", "no" )
   ? 1 < 2 == .T.
RETURN

STATIC FUNCTION Classify( x )
   IF x > 0 .AND. x < 10
      RETURN "small"
   ELSEIF x < 0 .OR. x > 1000000
      RETURN "outside"
   ENDIF
RETURN "zero"
