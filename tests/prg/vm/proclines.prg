// PROCLINE and PROCNAME inside loops, after jumps back to a loop's top, and inside code blocks
// evaluated here and from another procedure.
PROCEDURE Main()
   LOCAL k, b := {|| ProcName( 0 ) + ":" + LTrim( Str( ProcLine( 0 ) ) ) }, w := 0
   FOR k := 1 TO 2
      ? "for", k, ProcLine()
      IF k == 1
         LOOP
      ENDIF
      ? "after", ProcLine()
   NEXT
   DO WHILE w < 2
      w++
      ? "while", w, ProcLine()
   ENDDO
   ? "block", Eval( b )
   ? "other", Other( b )
   ? "caller", Level1()
RETURN

STATIC FUNCTION Other( b )
   LOCAL x := 1
   x++
RETURN Eval( b ) + " " + ProcName( 1 ) + ":" + LTrim( Str( ProcLine( 1 ) ) )

STATIC FUNCTION Level1()

   RETURN Level2()

STATIC FUNCTION Level2()
RETURN ProcName( 1 ) + ":" + LTrim( Str( ProcLine( 1 ) ) ) + " " + ProcName( 0 ) + ":" + LTrim( Str( ProcLine( 0 ) ) )
