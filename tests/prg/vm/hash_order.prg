// Hashes filled in every key order keep their pairs in key order (numbers, then dates, then
// texts), find every key again, and keep that behaviour through deletion, case-match off,
// insertion order switched on midway, cloning and merging; hashes used like arrays (keys 1..n
// in order) also when other keys join them.
PROCEDURE Main()
   LOCAL h := { => }, k := 777, i, n, keys, ok, c
   // many keys in scrambled order: every one found, the keys come out sorted
   FOR i := 1 TO 3000
      k := ( k * 1103515245 + 12345 ) % 2147483648
      h[ "k" + LTrim( Str( k % 100000 ) ) ] := i
      h[ k % 5000 ] := -i
   NEXT
   keys := PV_HKeys( h )
   ok := .T.
   FOR i := 2 TO Len( keys )
      IF ValType( keys[ i - 1 ] ) == ValType( keys[ i ] ) .AND. !( keys[ i - 1 ] < keys[ i ] )
         ok := .F.
      ENDIF
   NEXT
   ? Len( h ), ok, keys[ 1 ], keys[ Len( keys ) ], ValType( keys[ 1 ] ), ValType( ATail( keys ) )
   k := 777
   n := 0
   FOR i := 1 TO 3000
      k := ( k * 1103515245 + 12345 ) % 2147483648
      IF PV_HHasKey( h, "k" + LTrim( Str( k % 100000 ) ) ) .AND. PV_HHasKey( h, k % 5000 )
         n++
      ENDIF
   NEXT
   ? n, PV_HHasKey( h, "nope" ), PV_HHasKey( h, 5001 ), PV_HPos( h, keys[ 10 ] ), PV_HKeyAt( h, 10 ) == keys[ 10 ]
   // keys 1..n added in order, then others
   h := { => }
   FOR i := 1 TO 20
      h[ i ] := i * i
   NEXT
   ? h[ 3.0 ], h[ 20 ], PV_HHasKey( h, 21 ), PV_HHasKey( h, 0 ), PV_HHasKey( h, 2.5 ), PV_HPos( h, 7 )
   PV_HDel( h, 20 )
   h[ 20 ] := "again"
   h[ 22 ] := "gap"
   h[ 21 ] := "between"
   h[ "x" ] := "text"
   PV_HDel( h, 5 )
   ? Len( h ), h[ 4 ], PV_HHasKey( h, 5 ), h[ 6 ], h[ 21 ], PV_HPos( h, 21 ), PV_HKeyAt( h, 20 ), h[ "x" ]
   // such a hash cloned, merged, asked for its keys, cut in the middle
   h := { => }
   FOR i := 1 TO 12
      h[ i ] := i
   NEXT
   c := PV_HClone( h )
   PV_HMerge( c, { 13 => 13 } )
   h[ 13 ] := "x"
   ? Len( h ), Len( c ), c[ 13 ], c[ 1 ], PV_HKeyAt( h, 13 ), PV_HValueAt( h, 13 ), h[ 13 ]
   n := 0
   FOR EACH k IN h
      n += iif( ValType( k ) == "N", k, 100 )
   NEXT
   keys := PV_HKeys( c )
   ? n, Len( keys ), keys[ 13 ], PV_HValues( h )[ 12 ]
   PV_HDel( h, 6 )
   ? Len( h ), PV_HHasKey( h, 6 ), h[ 7 ], PV_HPos( h, 7 ), PV_HKeyAt( h, 6 ), PV_HKeyAt( h, 12 )
   h := { => }
   h[ Val( "1" ) ] := "w"
   h[ 2 ] := "v"
   ? Len( h ), "[" + Str( PV_HKeyAt( h, 1 ) ) + "]", h[ 1 ], h[ 2 ]
   // numbers compare by value whatever their kind
   h := { 3 => "three", 1.5 => "one and a half", 2 => "two" }
   h[ 3.0 ] := "THREE"
   h[ 10000000000 ] := "big"
   h[ 1.50 ] += "!"
   ? Len( h ), h[ 3 ], h[ 1.5 ], h[ 2.0 ], h[ 10000000000.0 ]
   ? Show( h )
   // mixed kinds, deletion, positions
   h := { "b" => 1, 0d20240301 => 2, 5 => 3, "a" => 4, -1 => 5, 0d19991231 => 6, "B" => 7 }
   ? Show( h )
   PV_HDel( h, "a" )
   PV_HDelAt( h, 1 )
   ? Show( h ), PV_HPos( h, "b" ), PV_HPos( h, 5 ), PV_HPos( h, "zz" )
   // case-match off: a key found whatever its case
   h := { => }
   PV_HCaseMatch( h, .F. )
   h[ "Alpha" ] := 1
   h[ "beta" ] := 2
   h[ "ALPHA" ] := 3
   h[ "Gamma" ] := 4
   ? Show( h ), h[ "alpha" ], h[ "BETA" ], PV_HHasKey( h, "gAMMA" )
   // insertion order from now on; the pairs already there keep key order
   h := { "z" => 1, "m" => 2, "a" => 3 }
   PV_HKeepOrder( h, .T. )
   h[ "q" ] := 4
   h[ "b" ] := 5
   h[ "m" ] := 6
   ? Show( h ), PV_HPos( h, "q" ), PV_HKeyAt( h, 5 )
   PV_HDel( h, "a" )
   ? Show( h ), PV_HPos( h, "b" )
   PV_HKeepOrder( h, .F. )
   ? Show( h )
   // clones and merges are independent and ordered
   h := { 9 => "n", 4 => "f" }
   c := PV_HClone( h )
   c[ 1 ] := "o"
   PV_HMerge( h, { 7 => "s", 4 => "F" } )
   ? Show( h ), Show( c )
   PV_HClear( h )
   h[ "x" ] := 1
   ? Show( h ), Len( c )
RETURN

STATIC FUNCTION Show( h )
   LOCAL s := "", i
   FOR i := 1 TO Len( h )
      s += Text( PV_HKeyAt( h, i ) ) + "=" + Text( PV_HValueAt( h, i ) ) + " "
   NEXT
RETURN RTrim( s )

STATIC FUNCTION Text( x )
   SWITCH ValType( x )
   CASE "N"
      RETURN LTrim( Str( x ) )
   CASE "D"
      RETURN DToS( x )
   ENDSWITCH
RETURN x
