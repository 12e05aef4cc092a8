// The GUI errors: description, severity, subsystem and subcode of each, CanDefault below
// severity 3, and a default answered by the error block.
PROCEDURE Main()
   LOCAL n, e, bOld
   FOR n := 1 TO 6
      TRY
         _GxGenError( n, "op" + LTrim( Str( n ) ) )
      CATCH e
         ? n, e:Description, e:Severity, e:SubSystem, e:SubCode, e:Operation, e:CanDefault
      END
   NEXT
   bOld := ErrorBlock( {| e | .F. } )
   ? "defaulted", _GxGenError( 4, "low" )
   ErrorBlock( bOld )
   TRY
      _GxGenError( 7, "none" )
   CATCH e
      ? "bad number", e:SubSystem, e:GenCode, e:Description
   END
RETURN
