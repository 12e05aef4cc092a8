// Memory variables: privates seen by callees and gone after return, PUBLIC starts false,
// shadowing restores the caller's value, blocks read whatever is visible when they run,
// references keep a released variable's value alive, retry after creating a missing variable.
MEMVAR P1, Later
PROCEDURE Main()
   LOCAL e, b, n := 0
   Maker()
   TRY
      ? "gone", X
   CATCH e
      ? "gone", e:GenCode, e:SubCode, e:Operation, e:CanRetry, e:CanSubstitute
   END
   PUBLIC P1, P2 := "set"
   ? "public", P1, ValType( P1 ), M->P2
   PRIVATE V := "main"
   Inner()
   ? "restored", V
   b := {|| V }
   ? "block", Eval( b ), Other( b ), Eval( b )
   ? "release", Released()
   ? "ref", RefKeeps()
   ErrorBlock( {| e | n++, IIF( n == 2, MakeLater(), NIL ), .T. } )
   ? "retry", Later, n
   ? "assign creates", Assign(), __MVEXIST( "CREATED" )
RETURN

PROCEDURE Maker()
   X := 1
   Reader()
RETURN

PROCEDURE Reader()
   ? "callee sees", X, __MVSCOPE( "X" ) > 0
RETURN

PROCEDURE Inner()
   PRIVATE V := "inner"
   ? "shadow", V
   V := "changed"
   Deeper()
RETURN

PROCEDURE Deeper()
   ? "deeper", V
   V += "!"
RETURN

FUNCTION Other( b )
   PRIVATE V := "other"
RETURN Eval( b )

// RELEASE clears the value; the name stays until the procedure ends.
FUNCTION Released()
   PRIVATE R := 5
   RELEASE R
RETURN ValType( R )

FUNCTION RefKeeps()
   PRIVATE K := 1
   Add10( @K )
RETURN K

PROCEDURE Add10( v )
   v += 10
RETURN

FUNCTION MakeLater()
   PUBLIC Later := "made"
RETURN NIL

FUNCTION Assign()
   Created := 7
RETURN Created
