// Values to VARIANTs and back through the recording server: types as they arrive, dates and
// empty dates, arrays of one and two dimensions, typed arrays, byte strings, by-reference
// arguments written back, values that cannot travel.
PROCEDURE Main()
   LOCAL o, d, m, v, b, n, s, f, a, h, x
   MemoWrit( "trace.log", "left from an earlier run" + Chr( 10 ) )
   o := TOleAuto():New( "PvTest.Recorder" )
   ? "types", o:TypeOf( NIL ), o:TypeOf( .T. ), o:TypeOf( 5 ), o:TypeOf( 1.5 ), o:TypeOf( "x" ), o:TypeOf( 0d20000101 ), o:TypeOf( CToD( "" ) ), o:TypeOf( { 1 } ), o:TypeOf( o ), o:TypeOf( 5000000000 )
   n := 1
   ? "by reference", o:TypeOf( @n )
   ? "logical", o:Echo( .T. ), o:Echo( .F. )
   ? "numbers", o:Echo( 42 ), o:Echo( -7 ), o:Echo( 2.25 ), o:Echo( 5000000000 )
   ? "text", o:Echo( "Grüße" ), Len( o:Echo( "" ) )
   ? "date", DToS( o:Echo( 0d20000101 ) ), ValType( o:Echo( CToD( "" ) ) )
   ? "date as number", o:AsDouble( 0d20000101 ), o:AsDouble( 0d18991230 ), o:AsDouble( o:Dates ), o:AsDouble( 0d18991229 ), DToS( o:OldDate ), o:AsDouble( o:OldDate )
   d := o:Dates
   ? "date-time", ValType( d ), DToS( d ), d
   a := o:Echo( { 1, "two", { 3, .T. }, NIL } )
   ? "array", Len( a ), a[ 1 ], a[ 2 ], Len( a[ 3 ] ), a[ 3, 2 ], a[ 4 ]
   m := o:Matrix
   ? "matrix", Len( m ), Len( m[ 1 ] ), m[ 1, 1 ], m[ 1, 2 ], m[ 3, 1 ], m[ 3, 2 ]
   v := o:Doubles
   ? "typed", v:ClassName(), v:vt, Len( v:Value ), v[ 1 ], v[ 2 ], o:TypeOf( v ), o:Echo( v )[ 2 ]
   b := o:Bytes
   ? "bytes", ValType( b ), Len( b ), Asc( b ), Asc( SubStr( b, 2 ) ), Asc( SubStr( b, 3 ) ), o:TypeOf( b ), Len( o:Echo( b ) ), o:TypeOf( b + "" )
   FOR EACH x IN v
      ?? " each", x
   NEXT
   ? "wrapped bytes", o:TypeOf( VTArrayWrapper( 17, "xyz" ) ), Len( o:Echo( VTArrayWrapper( 17, "xyz" ) ) )
   ? "short byte arrays", o:TypeOf( o:Echo( VTArrayWrapper( 17, "x" ) ) ), o:TypeOf( o:Echo( VTArrayWrapper( 16, "" ) ) ), Len( o:Echo( VTArrayWrapper( 16, "" ) ) )
   n := 21
   s := "ab"
   f := 1.25
   o:Twice( @n )
   o:Twice( @s )
   o:Twice( @f )
   ? "written back", n, s, f
   a := { 1 }
   AAdd( a, a )
   ? "too deep", o:Invoke( "Echo", a ), OLE2TXTERROR()
   h := { "k" => 1 }
   ? "unconvertible", o:TypeOf( h ), o:TypeOf( {|| 1 } ), o:TypeOf( ErrorNew() )
   o:FailNext := -2147483638
   ? "unknown status", o:Invoke( "Name" ), OLEERROR(), OLE2TXTERROR()
   ? "wide", Len( ANSITOWIDE( "abc" ) ), WIDETOANSI( ANSITOWIDE( "Grüße" ) ), ANSITOWIDE( 5 ), WIDETOANSI( "abc" )
RETURN
