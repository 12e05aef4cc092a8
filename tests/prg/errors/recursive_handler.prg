// A handler that itself fails: nested launches stop with internal error 9003 at the ninth.
PROCEDURE Main()
   PUBLIC nDepth := 0
   ErrorBlock( {| e | nDepth++, QQOut( LTrim( Str( nDepth ) ) + " " ), 1 / "x" } )
   ? "start "
   ? 1 + "y"
RETURN
