// FOR with negative and fractional steps, a counter changed in the body, a loop not entered,
// date counters, SWITCH with negative and large cases, a non-numeric limit.
PROCEDURE Main()
   LOCAL i, c := "", e, d
   FOR i := 10 TO 1 STEP -3
      c += LTrim( Str( i ) ) + " "
   NEXT
   ? "down", c, i
   c := ""
   FOR i := 0 TO 1 STEP 0.25
      c += LTrim( Str( i ) ) + " "
   NEXT
   ? "fraction", c
   c := ""
   FOR i := 1 TO 3
      c += LTrim( Str( i ) )
      i++
   NEXT
   ? "changed inside", c, i
   FOR i := 5 TO 1
      ? "never"
   NEXT
   ? "not entered", i
   FOR d := 0d20240227 TO 0d20240301
      c := DToS( d )
   NEXT
   ? "dates", c
   ? "switch", Sw( -1 ), Sw( 0 ), Sw( 1000000 )
   TRY
      FOR i := 1 TO "x"
      NEXT
   CATCH e
      ? "for error", e:GenCode, e:CanSubstitute
   END
RETURN

FUNCTION Sw( x )
   SWITCH x
   CASE -1
      RETURN "minus"
   CASE 0
      RETURN "zero"
   CASE 1000000
      RETURN "million"
   OTHERWISE
      RETURN "other"
   ENDSWITCH
RETURN "none"
