// Subtracting an integer constant reports the subtraction, not an addition, when the types are
// wrong: operation "-", subcode 1082, arguments as written; likewise adding to a text.
PROCEDURE Main()
   LOCAL c := "a", x := "b"
   ErrorBlock( {| e | Show( e ) } )
   ? c - 1
   ? c + 2
   ? .T. - 300
   x--
   ? x
RETURN

FUNCTION Show( e )
   ?? e:GenCode, e:SubCode, e:Operation, Len( e:Args ), ValType( e:Args[ 1 ] ), ATail( e:Args ), ""
RETURN "sub"
