// Leaving sequences, WITH OBJECT and FOR EACH by RETURN, EXIT, LOOP and BREAK drops their records:
// a later BREAK reaches the right sequence, the WITH object and enumerators are the right ones.
PROCEDURE Main()
   LOCAL x, v, n := 0, e := ErrorNew()
   BEGIN SEQUENCE
      ? "inner returned", ReturnsInside()
      Break( "to outer" )
   RECOVER USING x
      ? "outer got", x
   END SEQUENCE
   ? "with returned", WithReturn( e ), e:Cargo
   WITH OBJECT e
      ? "with after return", :Cargo
   END
   FOR EACH v IN { 1, 2, 3, 4, 5 }
      IF v == 2
         LOOP
      ENDIF
      IF v == 4
         EXIT
      ENDIF
      n += v
   NEXT
   ? "loop/exit", n
   ? "each return", EachReturn()
   BEGIN SEQUENCE
      FOR EACH v IN { 1, 2 }
         Break( v )
      NEXT
   RECOVER USING x
      ? "break in each", x
   END SEQUENCE
   FOR EACH v IN { "a", "b" }
      ? "after", v
   NEXT
RETURN

FUNCTION ReturnsInside()
   BEGIN SEQUENCE
      RETURN "early"
   END SEQUENCE
RETURN "late"

FUNCTION WithReturn( o )
   LOCAL c
   WITH OBJECT o
      :Cargo := "set"
      c := :Cargo
      RETURN c
   END
RETURN "never"

FUNCTION EachReturn()
   LOCAL v
   FOR EACH v IN { 7, 8 }
      RETURN v
   NEXT
RETURN 0
