// Each retry of a missing variable relaunches the error with Tries raised by one.
MEMVAR Ghost
PROCEDURE Main()
   LOCAL n := 0
   ErrorBlock( {| e | QQOut( e:Tries, "" ), n++, IIF( n < 3, .T., Fix() ) } )
   ? "value", Ghost
RETURN

FUNCTION Fix()
   PUBLIC Ghost := "found"
RETURN .T.
