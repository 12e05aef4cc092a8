// Error object fields: where an operator error was raised, ERRORNEW defaults and arguments,
// retrying a missing variable until it exists.
PROCEDURE Main()
   LOCAL e, n := 0
   TRY
      Inner()
   CATCH e
      ? e:ProcName, e:ProcLine, e:ModuleName, e:Severity, e:Tries, e:SubSystem, ValType( e:aaStack )
   END
   e := ErrorNew()
   ? e:GenCode, e:SubCode, e:Severity, e:Description == "", e:CanRetry, e:CanDefault, e:CanSubstitute, ValType( e:Args ), e:Operation == ""
   e := ErrorNew( "MINE", 3, 1234, "op", "desc" )
   ? e:SubSystem, e:GenCode, e:SubCode, e:Operation, e:Description
   ErrorBlock( {| x | n++, IIF( n < 3, .T., Fix() ) } )
   ? "tries", Lookup(), n
RETURN

PROCEDURE Inner()
   LOCAL x
   x := 1 + "a"
RETURN

FUNCTION Fix()
   PUBLIC Ghost := "found"
RETURN .T.

FUNCTION Lookup()
RETURN M->Ghost
