// #define (object-like and function-like), #undef, #ifdef/#ifndef/#else/#endif and #include.
#include "inc/shapes.ch"
#define GREETING "hello"
#define AREA( w, h ) ( ( w ) * ( h ) )
#define MAX2( a, b ) IIF( ( a ) > ( b ), a, b )
#define EMPTY_DEF
#define NEST( x ) AREA( x, x ) + 1

PROCEDURE Main()
   ? GREETING, SIDES_TRIANGLE + SIDES_SQUARE, NESTED_TEXT
   ? AREA( 2 + 1, 4 ), MAX2( 3, 9 ), NEST( 3 )
   ? "GREETING stays in text", Len( "AREA( 1, 2 )" )
#ifdef GREETING
   ? "ifdef taken"
#else
   ? "ifdef not taken"
#endif
#ifndef UNDEFINED_NAME
   ? "ifndef taken"
#endif
#ifdef EMPTY_DEF
   ? "empty define is defined"
#endif
#undef GREETING
#ifdef GREETING
   ? "still defined"
#else
   ? "undefined now"
#endif
#ifdef OUTER_MISSING
#ifdef SIDES_SQUARE
   ? "nested inside false"
#endif
#else
   ? "nested else"
#endif
   ? Greeting()
RETURN

FUNCTION Greeting()
RETURN "function, not the define"
