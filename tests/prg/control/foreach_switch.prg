// FOR EACH over arrays, strings, hashes and an object that overloads it, with the index and EXIT;
// SWITCH with numbers and one-character texts, fall-through, EXIT and OTHERWISE.
PROCEDURE Main()
   LOCAL v, a := { 10, 20, 30 }, h := { "a" => 1, "b" => 2, "c" => 3 }, e, c := ""
   FOR EACH v IN a
      ?? v:__enumIndex(), v, ""
   NEXT
   FOR EACH v IN "xyz"
      c := v + c
   NEXT
   ? "string", c
   c := ""
   FOR EACH v IN h
      c += Str( v, 1 )
   NEXT
   ? "hash", c
   FOR EACH v IN { 1, 2, 3, 4 }
      IF v == 3
         EXIT
      ENDIF
      c := v
   NEXT
   ? "exit", c
   c := ""
   FOR EACH v IN TBox():New()
      c += v
   NEXT
   ? "object", c
   FOR EACH v IN {}
      ? "never"
   NEXT
   ? "switch", Sw( 1 ), Sw( 2 ), Sw( 3 ), Sw( "A" ), Sw( 65 ), Sw( "B" ), Sw( 9 )
   TRY
      Sw( {} )
   CATCH e
      ? "switch error", e:GenCode, e:SubCode, e:Operation, e:CanSubstitute
   END
RETURN

FUNCTION Sw( x )
   LOCAL r := ""
   SWITCH x
   CASE 1
      r += "one"
   CASE 2
      r += "two"
      EXIT
   CASE "A"
      r += "A"
      EXIT
   CASE 3
      r += "three"
      EXIT
   OTHERWISE
      r += "other"
   ENDSWITCH
RETURN r

CLASS TBox
   DATA aItems INIT { "p", "q" }
   METHOD New() INLINE Self
   OPERATOR "FOR EACH" INLINE ::aItems
ENDCLASS
