// Code blocks, detached locals, sequences, TRY and FOR EACH.
FUNCTION Blocks( p )
   LOCAL n := 1, b
   b := {|x, y| x + y + n }
   n := 5
   AEval( { 1, 2 }, {|e| n += e, p := e } )
   FOR EACH e IN b
      IF e:__enumIndex() > 2
         EXIT
      ENDIF
   NEXT
   BEGIN SEQUENCE
      Break( 3 )
   END SEQUENCE
   BEGIN SEQUENCE
      n := 1 / 0
   RECOVER USING n
      ? n
   END
   TRY
      Throw( 1 )
   FINALLY
      ? "always"
   END TRY
   TRY
      x := 1
   CATCH
      x := 2
   END
   WITH OBJECT p
      :Title := "t"
      DO WHILE :Next()
         EXIT
      ENDDO
   END WITH
   RETURN Eval( b, 1, 2 )
