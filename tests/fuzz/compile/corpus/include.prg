#include "inc.ch"
FUNCTION f(a)
   RETURN INC(a) * TWO
