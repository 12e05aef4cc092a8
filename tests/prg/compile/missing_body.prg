// A declared method without a body is reported once.
PROCEDURE Main()
   ? "never printed"
RETURN

CLASS TOne
   METHOD Lacking()
ENDCLASS
