// An include file that cannot be found is a compile error at the directive.
PROCEDURE Main()
#include "nothere.ch"
   ? 1
RETURN
