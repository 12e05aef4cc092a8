// RETURN followed by a prefix ++/-- or by a WITH OBJECT message is the RETURN statement.
PROCEDURE Main()
   LOCAL e := ErrorNew()
   e:Cargo := "cargo"
   ? Inc(), Dec(), FromWith( e )
RETURN

FUNCTION Inc()
   LOCAL n := 1
   RETURN ++n

FUNCTION Dec()
   LOCAL n := 1
   RETURN --n

FUNCTION FromWith( o )
   WITH OBJECT o
      RETURN :Cargo
   END
RETURN NIL
