// BREAK() written as a statement with empty parentheses is the function call with no value.
PROCEDURE Main()
   LOCAL x := 1
   BEGIN SEQUENCE
      Break()
   RECOVER USING x
      ? "value", ValType( x )
   END SEQUENCE
RETURN
