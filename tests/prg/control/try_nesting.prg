// An error inside BEGIN SEQUENCE within TRY reaches the sequence; a CATCH that fails goes to the
// outer TRY after its FINALLY; RETURN inside TRY runs FINALLY and keeps the returned value.
PROCEDURE Main()
   LOCAL e, x
   TRY
      BEGIN SEQUENCE
         x := 1 + "a"
      RECOVER USING x
         ? "sequence got", ValType( x )
      END SEQUENCE
   CATCH e
      ? "try got", e:SubCode
   END
   TRY
      TRY
         Break( "inner" )
      CATCH e
         ? "inner catch", e
         x := {}[ 1 ]
      FINALLY
         ? "inner finally"
      END
   CATCH e
      ? "outer catch", e:SubCode
   END
   ? "finally return", FinRet()
RETURN

FUNCTION FinRet()
   LOCAL n := 1
   TRY
      n := 2
      RETURN n
   FINALLY
      n := 3
      ? "fin", n
   END
RETURN 0
