// A method that overrides its parent's and calls it through Super, sent a million times.
PROCEDURE Main()
   LOCAL i, o := TChild():New(), n := 0
   FOR i := 1 TO 1000000
      n += o:Val( i )
   NEXT
   ? n
RETURN

CLASS TParent
   METHOD New() INLINE Self
   METHOD Val( n )
ENDCLASS

METHOD Val( n ) CLASS TParent
RETURN n + 1

CLASS TChild FROM TParent
   METHOD Val( n )
ENDCLASS

METHOD Val( n ) CLASS TChild
RETURN Super:Val( n ) * 2
