// AFILL, ADIR, the folder functions and the environment.
PROCEDURE Main()
   LOCAL a := Array( 5 ), aNames, aSizes, aDates, aTimes, aAttr, cHere, e
   ? Lister( AFill( a, 0 ) ), Lister( AFill( a, 1, 2 ) ), Lister( AFill( a, 2, 4, 1 ) ), Lister( AFill( a, 3, 9 ) )
   ? Lister( AFill( a, 4, 0, 2 ) ), Lister( AFill( a, 5, -3, 1 ) ), Lister( AFill( {}, 1 ) ), Lister( AFill( a ) )
   a := { "b", NIL, "a", "c", NIL, "ab", "b", NIL, "d", "e", "f", "g", "h", "i" }
   ? Lister2( ASort( a ) )
   a := { 3, NIL, 1, 2, NIL, 9, 8, 7, 6, 5, 4, 11, 12, 10 }
   ? Lister2( ASort( a ) )
   TRY
      AFill( "abc", 1 )
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation, Len( e:Args )
   END
   // a folder of our own, made current
   cHere := CurDir()
   ? MakeDir( "sub" ), MakeDir( "sub" ) != 0, DirChange( "sub" ), CurDir() == cHere + "/sub", Left( CurDir(), 1 ) != "/"
   MemoWrit( "b.txt", "12345", .F. )
   MemoWrit( "a.txt", "1", .F. )
   MemoWrit( ".hidden", "", .F. )
   MakeDir( "inner" )
   ? ADir(), ADir( "*.txt" ), ADir( "*.none" )
   aNames := Array( ADir( "*.txt" ) )
   aSizes := Array( 1 )
   ADir( "*.txt", aNames, aSizes )
   ASort( aNames )
   ? aNames[ 1 ], aNames[ 2 ], ValType( aSizes[ 1 ] )
   aNames := Array( 2 )
   aSizes := Array( 2 )
   aDates := Array( 2 )
   aTimes := Array( 2 )
   ? ADir( "b.txt", aNames, aSizes, aDates, aTimes ), aNames[ 1 ], aSizes[ 1 ], ValType( aDates[ 1 ] ), Len( aTimes[ 1 ] ), aNames[ 2 ]
   aAttr := Array( 5 )
   ? ADir( "*", NIL, NIL, NIL, NIL, aAttr )
   ASort( aAttr )
   ? aAttr[ 1 ], aAttr[ 2 ], aAttr[ 4 ]
   ? DirRemove( "inner" ), DirRemove( "inner" ) != 0, DirChange( ".." ), CurDir() == cHere, DirRemove( "sub" ) != 0
   ? DirChange( "no_such_folder" ), FError()
   TRY
      ADir( "*", "names" )
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation
   END
   // the environment
   ? DiskSpace() > 0, ValType( DiskSpace( 1 ) ), GetEnv( "PV_NO_SUCH_VARIABLE" ) == "", GetEnv( "PV_NO_SUCH_VARIABLE", "dflt" )
   ? GetEnv( "HOME" ) == GetE( "HOME" ), Len( GetEnv( "PATH" ) ) > 0, GetEnv() == ""
   ? Len( OS() ) > 0, Left( Version(), 16 ), Len( NetName() ) > 0, ValType( IsPrinter() )
   TRY
      GetEnv( 1 )
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation
   END
RETURN

FUNCTION Lister2( a )
   LOCAL c := "", x
   FOR EACH x IN a
      c += IIF( x == NIL, "-", Transform( x, "" ) ) + " "
   NEXT
RETURN c

FUNCTION Lister( a )
   LOCAL c := "", x
   FOR EACH x IN a
      c += IIF( x == NIL, "-", Str( x, 1 ) )
   NEXT
RETURN "{" + c + "}"
