// Arrays made with a known length that then grow, shrink to nothing and grow again, with
// insertions, deletions and shared holders, and objects and nested arrays as elements.
PROCEDURE Main()
   LOCAL a := { 1, "b", { 3 } }, b, c := Array( 2 ), i, o
   b := a
   AAdd( a, 4 )
   AAdd( a, { 5, 6 } )
   ? Len( a ), Len( b ), a[ 5 ][ 2 ], b[ 3 ][ 1 ], a == b
   ASize( a, 0 )
   ? Len( a ), Len( b )
   AAdd( a, "again" )
   ASize( a, 40 )
   a[ 40 ] := "last"
   ? Len( a ), a[ 1 ], a[ 39 ], a[ 40 ]
   ASize( a, 2 )
   ? Len( a ), a[ 1 ], a[ 2 ]
   AIns( c, 1 )
   c[ 1 ] := "first"
   ADel( c, 2 )
   ? c[ 1 ], c[ 2 ], Len( c )
   FOR i := 1 TO 100
      AAdd( c, { i, Str( i ) } )
   NEXT
   ? Len( c ), c[ 102 ][ 1 ], c[ 50 ][ 2 ]
   b := AClone( c )
   c[ 50 ][ 1 ] := -1
   ? b[ 50 ][ 1 ], c[ 50 ][ 1 ], Len( b )
   o := TBox():New( "x" )
   a := { o, TBox():New( "y" ) }
   AAdd( a, TBox():New( "z" ) )
   ? a[ 1 ]:cName, a[ 2 ]:cName, a[ 3 ]:cName
   a := NIL
   o := NIL
   ? "done"
RETURN

CLASS TBox
   DATA cName
   METHOD New( c ) INLINE ( ::cName := c, Self )
ENDCLASS
