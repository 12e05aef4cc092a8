// A class with two parents answers each parent's inline methods with that parent's block.
PROCEDURE Main()
   LOCAL o := TC():New()
   ? o:A(), o:B(), o:C(), o:cB
RETURN

CLASS TA
   METHOD A() INLINE "a"
ENDCLASS

CLASS TB
   DATA cB INIT "data b"
   METHOD B() INLINE "b:" + ::cB
ENDCLASS

CLASS TC FROM TA, TB
   METHOD New() INLINE Self
   METHOD C() INLINE "c"
ENDCLASS
