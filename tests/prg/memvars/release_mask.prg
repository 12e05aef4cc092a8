// __MVRELEASE clears the privates whose names match a wildcard mask (or, with .F., all others).
MEMVAR PX, PY, QZ
PROCEDURE Main()
   PRIVATE PX := 1, PY := 2, QZ := 3
   __MVRELEASE( "P*", .T. )
   ? "mask", ValType( PX ), ValType( PY ), QZ
   PX := 1
   __MVRELEASE( "P*", .F. )
   ? "except", PX, ValType( QZ )
RETURN
