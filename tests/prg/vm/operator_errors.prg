// Errors raised by operators whose operands miss the fast paths: the error object names the
// operator and carries the operands, and the handler's substitute becomes the result.
PROCEDURE Main()
   LOCAL i := 3, d := 1.5, c := "a", n, k
   ERRORBLOCK( {| e | Report( e ) } )
   ? "plus", i + c, d + c
   ? "minus", c - i, d - NIL
   ? "mult", i * c, d * {}
   ? "div", i / 0, d / 0.0, i / c, 0 / 0
   ? "mod", i % 0
   ? "cmp", i < c, d >= c, c > i, d = NIL, i != {}
   ? "addint", c + 1, c - 2
   n := 0
   FOR k := 1 TO 3
      n += k * d / ( k - 2 )
   NEXT
   ? "loop", n
RETURN

STATIC FUNCTION Report( e )
   LOCAL args := e:args, text := "", a
   FOR EACH a IN args
      text += ValType( a )
   NEXT
   ?? " {" + e:operation + " " + LTrim( Str( e:subCode ) ) + " " + text + "}"
RETURN 42
