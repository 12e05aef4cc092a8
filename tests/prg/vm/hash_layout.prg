// Hashes through the changes of their storage: literals of keys 1..n that then get other keys,
// default values for keys added by compound assignment (kept by clones), emptied hashes used
// again, hashes that hold themselves, growth in descending key order past many index sizes,
// case-match off through clones and merges.
PROCEDURE Main()
   LOCAL h, c, i, n
   h := { 1 => "a", 2 => "b", 3 => "c" }
   h[ "x" ] := "d"
   h[ 4 ] := "e"
   ? Len( h ), h[ 1 ], h[ 3 ], h[ "x" ], h[ 4 ], PV_HKeyAt( h, 4 ), PV_HKeyAt( h, 5 ), PV_HPos( h, "x" )
   h := { "b" => 1, "a" => 2 }
   PV_HDel( h, "b" )
   h[ "c" ] := 3
   ? Len( h ), PV_HKeyAt( h, 1 ), PV_HKeyAt( h, 2 ), PV_HHasKey( h, "b" )
   // default values
   h := { => }
   PV_HDefault( h, 10 )
   h[ "n" ] += 5
   h[ "m" ] := 1
   c := PV_HClone( h )
   c[ "o" ] += 1
   ? h[ "n" ], h[ "m" ], Len( h ), c[ "o" ], c[ "n" ], PV_HDefault( c ), PV_HHasKey( h, "o" )
   h := { => }
   PV_HDefault( h, "-" )
   FOR i := 1 TO 12
      h[ i % 3 ] += LTrim( Str( i ) )
   NEXT
   ? Len( h ), h[ 0 ], h[ 1 ], h[ 2 ], PV_HDefault( h ), PV_HKeyAt( h, 1 )
   // emptied and used again, like an array and then not
   h := { => }
   FOR i := 1 TO 100
      h[ i ] := i
   NEXT
   PV_HClear( h )
   FOR i := 1 TO 10
      h[ i ] := -i
   NEXT
   h[ "k" ] := 0
   ? Len( h ), h[ 10 ], h[ "k" ], PV_HKeyAt( h, 11 ), PV_HHasKey( h, 11 )
   // hashes holding themselves, left to the collector
   FOR i := 1 TO 200
      h := { "self" => NIL, "n" => i }
      h[ "self" ] := h
      c := { i => h }
   NEXT
   h := c := NIL
   PV_GCAll()
   ? "collected"
   // descending keys
   h := { => }
   FOR i := 5000 TO 1 STEP -1
      h[ i * 3 ] := i
   NEXT
   n := 0
   FOR i := 1 TO 5000
      n += h[ i * 3 ]
   NEXT
   ? Len( h ), n, PV_HKeyAt( h, 1 ), PV_HKeyAt( h, 5000 ), PV_HPos( h, 300 ), PV_HHasKey( h, 301 )
   // case-match off through clones and merges
   h := { => }
   PV_HCaseMatch( h, .F. )
   FOR i := 1 TO 30
      h[ "Name" + LTrim( Str( i ) ) ] := i
   NEXT
   c := PV_HClone( h )
   c[ "NAME7" ] := 700
   PV_HMerge( h, { "name8" => 800, "Other" => 1 } )
   ? Len( h ), Len( c ), h[ "name7" ], c[ "name7" ], h[ "NAME8" ], PV_HKeyAt( h, 1 ), PV_HKeyAt( h, 31 )
RETURN
