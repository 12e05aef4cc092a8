// A class function called a second time after an integer comparison has run in it (the
// constructor check) returns a new instance: the stack slots it reuses hold nothing stale.
PROCEDURE Main()
   ? ValType( TA() )
   ? ValType( TA() )
   ? TB():ClassName(), TB( 1 ):ClassName()
   ? ValType( F() ), ValType( F() )
RETURN

CLASS TA
ENDCLASS

CLASS TB
   METHOD New( x ) CONSTRUCTOR INLINE Self
ENDCLASS

// The same without classes: a NIL pushed where an integer was dropped must be NIL.
FUNCTION F()
   STATIC s
   IF s == NIL
      s := ErrorNew()
   ENDIF
   IF PCount() > 0
      RETURN 1
   ENDIF
RETURN s
