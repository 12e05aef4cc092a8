// Assigning to a memory variable that holds an object whose class overloads ":=" calls the
// object's __OpAssign instead of overwriting the variable.
MEMVAR v
PROCEDURE Main()
   PRIVATE v := TBox():New()
   v := 5
   ? "memvar", ValType( v ), IIF( ValType( v ) == "O", v:x, v )
RETURN

CLASS TBox
   DATA x INIT 0
   METHOD New() INLINE Self
   OPERATOR ":=" ARG n INLINE ( ::x := n * 10, Self )
ENDCLASS
