// PRIVATE and PUBLIC variables: visibility through calls, shadowing, release on return.
MEMVAR Y, Z, QUARVEL
PROCEDURE Main()
   LOCAL e, b
   First()
   TRY
      ? X
   CATCH e
      ? "after return", e:GenCode, e:SubCode, e:Operation
   END
   PUBLIC Y
   ? "public starts", Y
   PUBLIC QUARVEL
   ? "quarvel", QUARVEL
   PRIVATE Z := "outer"
   Shadow()
   ? "caller sees", Z
   b := {|| Z }
   ? "block", Eval( b ), Later( b )
   __MVPUT( "W", 42 )
   ? "mvput", __MVGET( "W" ), __MVEXIST( "W" ), __MVEXIST( "NOPE" )
   ? "scope", __MVSCOPE( "Y" ), __MVSCOPE( "Z" ), __MVSCOPE( "NOPE" )
RETURN

PROCEDURE First()
   X := 1
   Second()
RETURN

PROCEDURE Second()
   ? "second sees", X
RETURN

PROCEDURE Shadow()
   PRIVATE Z := "inner"
   ? "shadow", Z
RETURN

FUNCTION Later( b )
   PRIVATE Z := "later"
RETURN Eval( b )
