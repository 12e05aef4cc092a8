// A library module of the linked-program test.
FUNCTION Twice( n )
   RETURN n * 2

CLASS TCounter
   DATA nValue INIT 0
   METHOD New( n ) CONSTRUCTOR
   METHOD Add( n ) INLINE ::nValue += n
ENDCLASS

METHOD New( n ) CLASS TCounter
   ::nValue := n
   RETURN Self
