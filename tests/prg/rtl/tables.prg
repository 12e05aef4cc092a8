// Table functions: DBF, RECSIZE, AFIELDS, field attributes, record lock lists, DBCREATEINDEX,
// field get/set blocks.
PROCEDURE Main()
   LOCAL aNames := Array( 3 ), aTypes := Array( 3 ), aLens := Array( 4 ), aDecs := Array( 4 )
   LOCAL b, e, i
   ? "[" + Dbf() + "]", RecSize(), Len( DbRLockList() ), AFields( aNames ), FieldType( 1 ) == "", FieldLen( 1 )
   DbCreate( "parts.dbf", { { "NAME", "C", 10, 0 }, { "QTY", "N", 6, 2 }, { "DONE", "L", 1, 0 }, { "DAY", "D", 8, 0 } } )
   USE parts SHARED NEW
   FOR i := 1 TO 5
      APPEND BLANK
      REPLACE NAME WITH "p" + Str( i, 1 ), QTY WITH i * 1.5
   NEXT
   ? Dbf(), Alias(), RecSize(), Header() > 0
   ? AFields(), AFields( aNames, aTypes, aLens, aDecs ), aNames[ 1 ], aNames[ 3 ], aTypes[ 2 ], aLens[ 2 ], aDecs[ 2 ], aLens[ 4 ]
   ? AFields( NIL, NIL, aLens ), aLens[ 4 ], AFields( 5 )
   ? FieldType( 2 ), FieldLen( 2 ), FieldDec( 2 ), FieldType( 3 ), FieldType( 9 ) == "", FieldLen( 0 ), FieldDec( "x" )
   // record locks
   DbUnlock()
   ? DbRLock( 2 ), DbRLock( 4 ), DbRLock( 5 )
   ? Lister( DbRLockList() )
   DbRUnlock( 4 )
   ? Lister( DbRLockList() )
   DbRUnlock()
   ? Lister( DbRLockList() )
   TRY
      DbRUnlock( "x" )
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation
   END
   // field blocks
   GO 3
   RLock()
   b := FieldBlock( "name" )
   ? ValType( b ), Eval( b ), Eval( b, "third" ), FIELD->NAME
   b := FieldWBlock( "QTY", Select() )
   SELECT 0
   ? Select() > 1, Eval( b ), Eval( b, 99 ), parts->QTY
   SELECT parts
   TRY
      FieldBlock( "x) + (y" )
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation
   END
   TRY
      FieldWBlock( "QTY", 0 )
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation
   END
   b := FieldBlock( "NOSUCH" )
   TRY
      Eval( b )
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation
   END
   // an index made with DBCREATEINDEX
   ? DbCreateIndex( "byname", "NAME", {|| FIELD->NAME } ), OrdKey(), OrdBagName()
   GO TOP
   ? FIELD->NAME
   DbCloseAll()
   ? "[" + Dbf() + "]", RecSize(), Len( DbRLockList() )
   TRY
      DbRUnlock()
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation
   END
RETURN

FUNCTION Lister( a )
   LOCAL c := "", x
   FOR EACH x IN a
      c += Str( x, 2 )
   NEXT
RETURN "{" + c + " }"
