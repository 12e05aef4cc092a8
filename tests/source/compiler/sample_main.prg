// The main module of the pvc end-to-end test.
#include "sample.ch"

FUNCTION Main()
   LOCAL n := ANSWER
   ? Twice( n )
   RETURN NIL
