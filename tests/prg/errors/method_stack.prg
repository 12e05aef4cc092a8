// An error inside a method: the call stack names the method with its class.
PROCEDURE Main()
   TThing():New():Fail( 5 )
RETURN

CLASS TThing
   METHOD New() INLINE Self
   METHOD Fail( n )
ENDCLASS

METHOD Fail( n ) CLASS TThing
RETURN n + "x"
