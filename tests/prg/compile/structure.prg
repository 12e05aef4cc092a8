// Statement-structure errors: EXIT out of a sequence, LOOP outside a loop, a bad expression,
// a function defined twice; all reported.
PROCEDURE Main()
   LOCAL i
   FOR i := 1 TO 3
      BEGIN SEQUENCE
         EXIT
      END SEQUENCE
   NEXT
   LOOP
   x := 1 +
RETURN

FUNCTION Dup()
RETURN 1

FUNCTION Dup()
RETURN 2
