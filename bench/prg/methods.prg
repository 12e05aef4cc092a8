PROCEDURE Main()
   LOCAL o := TCounter():New(), i
   FOR i := 1 TO 1000000
      o:Add( i )
   NEXT
   ? o:nTotal
RETURN

CLASS TCounter
   DATA nTotal INIT 0
   METHOD New() INLINE Self
   METHOD Add( n )
ENDCLASS

METHOD Add( n ) CLASS TCounter
   ::nTotal += n
RETURN Self
