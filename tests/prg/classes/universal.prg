// Universal messages answered for every value, and INTEGER/CHARACTER typed instance variables.
PROCEDURE Main()
   LOCAL n := 1, c := "s", a := {}, b := {| x | x + 1 }, d := 0d20240101, l := .T., h := { 1 => 2 }, u := NIL
   ? n:ClassName(), c:ClassName(), a:ClassName(), b:ClassName(), d:ClassName(), l:ClassName(), h:ClassName(), u:ClassName()
   ? b:Eval( 1 ), n:ClassH, ErrorNew():ClassName(), ErrorNew():IsDerivedFrom( "ERROR" )
   ? TTyped():New():nI, ValType( TTyped():New():cC )
RETURN
CLASS TTyped
   DATA nI AS INTEGER
   DATA cC AS CHARACTER
   METHOD New() INLINE Self
ENDCLASS
