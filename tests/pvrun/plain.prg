// A program of the runtime alone (strings, arrays, hashes, blocks, macros, a class of its own,
// error objects and a table) runs without the GUI library being loaded.
PROCEDURE Main()
   LOCAL aList := { 3, 1, 2 }, hSeen := { => }, oCounter, bAdd := {| n | n + 1 }, cName := "Upper", bDefault
   ASort( aList )
   hSeen[ "one" ] := 1
   ? "sorted", aList[ 1 ], aList[ 3 ], "hash", Len( hSeen ), "block", Eval( bAdd, 1 )
   ? "macro", &( cName + '("abc")' ), "type", Type( "1 + 1" )
   oCounter := TCounter():New()
   oCounter:Add():Add()
   ? "object", oCounter:ClassName(), oCounter:nCount
   bDefault := ErrorBlock( {| e | Break( e ) } )
   BEGIN SEQUENCE
      ? 1 + "a"
   RECOVER USING oCounter
      ? "error", oCounter:Description, oCounter:Operation
   END SEQUENCE
   ErrorBlock( bDefault )
   dbCreate( "plain", { { "NAME", "C", 10, 0 } } )
   USE plain
   APPEND BLANK
   REPLACE NAME WITH "first"
   ? "table", RecCount(), AllTrim( FIELD->NAME )
   CLOSE
RETURN

CLASS TCounter
   DATA nCount INIT 0
   METHOD New() CONSTRUCTOR INLINE Self
   METHOD Add() INLINE ( ::nCount++, Self )
ENDCLASS
