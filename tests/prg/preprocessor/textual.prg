// Defines are case-sensitive and textual; a false #ifdef skips its defines and includes.
#define LIMIT 10
#define TWICE( x ) ( x * 2 )
#define NOARGS() "noargs"
#ifdef NOT_DEFINED
#define LIMIT2 99
#include "does_not_exist.ch"
#endif
PROCEDURE Main()
   LOCAL limit := 3
   ? LIMIT, limit, TWICE( 1 + 1 ), NOARGS()
#ifdef LIMIT2
   ? "wrong"
#endif
#ifndef LIMIT2
   ? "LIMIT2 undefined"
#endif
RETURN
