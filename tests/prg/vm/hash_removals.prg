// Hashes losing pairs: removals by key and by position mixed with inserts, re-inserts and
// reads, checked against plain arrays of the keys and values (insertion order; sorted for key
// order) while the hash grows past many index sizes and shrinks again; then case-match off,
// numbers of different kinds as one key, clones, merges and FOR EACH of hashes with removed
// pairs.
PROCEDURE Main()
   LOCAL h, c, i, s, v
   ? Churn( .T., .T. ), Churn( .T., .F. ), Churn( .F., .T. ), Churn( .F., .F. )
   // case-match off: removing one spelling removes the key; re-inserting puts it last
   h := { => }
   PV_HCaseMatch( h, .F. )
   PV_HKeepOrder( h, .T. )
   FOR i := 1 TO 20
      h[ "Key" + LTrim( Str( i ) ) ] := i
   NEXT
   PV_HDel( h, "KEY3" )
   PV_HDel( h, "key10" )
   h[ "kEy3" ] := 33
   ? Len( h ), PV_HHasKey( h, "key3" ), PV_HHasKey( h, "KEY10" ), h[ "KEY3" ], PV_HPos( h, "key3" ), ;
     PV_HKeyAt( h, 19 ), PV_HKeyAt( h, 3 ), PV_HPos( h, "Key20" )
   // 1, 1.0 and a long 1 are one key
   h := { 1 => "a", 2 => "b", 3 => "c" }
   PV_HDel( h, 1.0 )
   h[ 2.0 ] := "B"
   ? Len( h ), PV_HHasKey( h, 1 ), h[ 2 ], PV_HKeyAt( h, 1 ), PV_HDel( h, Val( "3" ) ) == h, Len( h )
   h[ 1.0 ] := "one"
   ? Len( h ), h[ 1 ], PV_HPos( h, 1 ), PV_HPos( h, 2 )
   // clones and merges of hashes with holes; FOR EACH sees the live pairs only
   h := { => }
   FOR i := 1 TO 40
      h[ i * 10 ] := i
   NEXT
   FOR i := 1 TO 40 STEP 3
      PV_HDel( h, i * 10 )
   NEXT
   c := PV_HClone( h )
   c[ 15 ] := "new"
   PV_HDel( c, 20 )
   s := 0
   FOR EACH v IN h
      s += v
   NEXT
   ? Len( h ), Len( c ), s, PV_HKeyAt( c, 1 ), PV_HKeyAt( c, 2 ), PV_HHasKey( h, 15 ), h[ 20 ]
   PV_HMerge( c, h )
   ? Len( c ), c[ 20 ], PV_HKeyAt( c, Len( c ) ), PV_HValueAt( c, 2 )
   // emptied and refilled
   FOR i := 1 TO 40
      PV_HDel( h, i * 10 )
   NEXT
   ? Len( h ), Len( PV_HKeys( h ) )
   h[ "z" ] := 1
   h[ "a" ] := 2
   ? Len( h ), PV_HKeyAt( h, 1 ), PV_HValueAt( h, 2 )
RETURN

// Random inserts, reads and removals against a model; returns the checks that failed
// (0 when the hash behaved) and the pairs left.
STATIC FUNCTION Churn( lKeep, lText )
   LOCAL h := { => }, aKeys := {}, aValues := {}, k := 4711, i, key, at, pos, bad := 0
   PV_HKeepOrder( h, lKeep )
   FOR i := 1 TO 8000
      k := ( k * 1103515245 + 12345 ) % 2147483648
      // the range of keys shrinks and grows again, so the hash passes index sizes both ways
      key := ( k / 65536 ) % ( 2 + Int( Abs( 4000 - i ) / 4 ) )
      key := Int( key )
      IF lText
         key := "t" + Str( key, 5 )
      ENDIF
      at := AScan( aKeys, key )
      SWITCH k % 7
      CASE 0
      CASE 1
         IF at > 0
            PV_HDel( h, key )
            ADel( aKeys, at )
            ASize( aKeys, Len( aKeys ) - 1 )
            ADel( aValues, at )
            ASize( aValues, Len( aValues ) - 1 )
         ELSEIF PV_HHasKey( h, key )
            bad++
         ENDIF
         EXIT
      CASE 2
         IF Len( h ) > 0
            pos := k % Len( h ) + 1
            key := PV_HKeyAt( h, pos )
            at := AScan( aKeys, key )
            IF at == 0 .OR. !( PV_HValueAt( h, pos ) == aValues[ at ] )
               bad++
            ELSE
               PV_HDelAt( h, pos )
               ADel( aKeys, at )
               ASize( aKeys, Len( aKeys ) - 1 )
               ADel( aValues, at )
               ASize( aValues, Len( aValues ) - 1 )
            ENDIF
         ENDIF
         EXIT
      OTHERWISE
         h[ key ] := i
         IF at > 0
            aValues[ at ] := i
         ELSE
            AAdd( aKeys, key )
            AAdd( aValues, i )
         ENDIF
         // the position in key order asked for between inserts
         IF !lKeep .AND. i % 3 == 0 .AND. PV_HPos( h, key ) != Rank( aKeys, key )
            bad++
         ENDIF
      ENDSWITCH
      IF i % 400 == 0
         bad += Check( h, aKeys, aValues, lKeep )
      ENDIF
   NEXT
   bad += Check( h, aKeys, aValues, lKeep )
RETURN LTrim( Str( bad ) ) + "/" + LTrim( Str( Len( h ) ) )

// 1 + the number of keys in the list that come before the key.
STATIC FUNCTION Rank( aKeys, key )
   LOCAL n := 1
   AEval( aKeys, {| x | iif( x < key, n++, NIL ) } )
RETURN n

// Failed checks of a hash against its model: length, every value, the iteration order.
STATIC FUNCTION Check( h, aKeys, aValues, lKeep )
   LOCAL bad := 0, i, order := iif( lKeep, aKeys, ASort( AClone( aKeys ) ) ), keys := PV_HKeys( h )
   IF Len( h ) != Len( aKeys ) .OR. Len( keys ) != Len( aKeys )
      RETURN 1
   ENDIF
   FOR i := 1 TO Len( aKeys )
      IF !( h[ aKeys[ i ] ] == aValues[ i ] ) .OR. !( keys[ i ] == order[ i ] ) .OR. ;
         PV_HPos( h, order[ i ] ) != i
         bad++
      ENDIF
   NEXT
RETURN bad
