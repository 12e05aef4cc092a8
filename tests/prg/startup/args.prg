// Command-line arguments: parameters of the first procedure, "//" switches kept out of them.
PROCEDURE Main( a, b, c )
   ? "pcount", PCount(), a, b, ValType( c )
   ? "argc", PV_ArgC(), PV_ArgV( 2 ), PV_ArgCheck( "info" ), PV_ArgCheck( "other" )
RETURN

INIT PROCEDURE Early( x )
   ?? "init with", x
RETURN

EXIT PROCEDURE Late()
   ? "exit procedure"
RETURN
