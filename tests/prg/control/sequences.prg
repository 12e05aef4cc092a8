// BEGIN SEQUENCE and BREAK across calls, TRY/CATCH/FINALLY with runtime errors.
PROCEDURE Main()
   LOCAL x, e, n := 0
   BEGIN SEQUENCE
      Deep( 3 )
      ? "not reached"
   RECOVER USING x
      ? "recovered", x
   END SEQUENCE
   BEGIN SEQUENCE
      BEGIN SEQUENCE
         Break( "inner" )
      RECOVER USING x
         ? "inner got", x
         Break( "outer" )
      END SEQUENCE
   RECOVER USING x
      ? "outer got", x
   END SEQUENCE
   TRY
      x := 1 + "a"
   CATCH e
      ? "caught", e:SubSystem, e:SubCode, e:Operation, ValType( e:Args )
   END
   TRY
      n := 1
   FINALLY
      n += 10
   END
   ? "finally normal", n
   BEGIN SEQUENCE
      TRY
         Break( "through" )
      FINALLY
         ? "finally on break"
      END
   RECOVER USING x
      ? "then", x
   END SEQUENCE
   ? "return", WithReturn()
   ? "after", ErrorInTry()
RETURN

PROCEDURE Deep( n )
   IF n == 0
      Break( "deep" )
   ENDIF
   Deep( n - 1 )
RETURN

FUNCTION WithReturn()
   LOCAL c := "body"
   TRY
      RETURN c
   FINALLY
      ? "cleanup"
   END
RETURN "never"

FUNCTION ErrorInTry()
   LOCAL e
   TRY
      UndefinedThing()
   CATCH e
      RETURN e:Description + " " + e:Operation
   END
RETURN "no"
