// Texts holding NUL bytes compare, concatenate and search by their full length.
PROCEDURE Main()
   LOCAL a := "a" + Chr( 0 ) + "b", b := "a" + Chr( 0 ) + "c"
   ? a == b, a < b, Len( a ), a = "a", Len( a + b ), Chr( 0 ) $ a, At( "b", a )
RETURN
