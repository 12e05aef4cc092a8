// Hashes with many number keys past the size searched without an index: strides of powers of
// two and of odd numbers, negative keys, doubles equal to integers (the same key), integers
// beyond the doubles' exact range, deletions, and the key order of iteration.
PROCEDURE Main()
   LOCAL h := { => }, i, n, k, missing
   FOR i := 1 TO 5000
      h[ i * 1024 ] := i
      h[ -i * 7 ] := -i
      h[ i * 2039 + 0.5 ] := i / 2
   NEXT
   ? Len( h ), h[ 1024 ], h[ 5000 * 1024 ], h[ -35 ], h[ 2039 * 17 + 0.5 ]
   n := 0
   missing := 0
   FOR i := 1 TO 5000
      n += h[ i * 1024 ] + h[ -i * 7 ]
      IF !( i * 1023 + 1 $ h )
         ++missing
      ENDIF
   NEXT
   ? n, missing
   h[ 2048.0 ] := "double"
   h[ 9007199254740993 ] := "big"
   h[ 9007199254740992 ] := "big2"
   ? Len( h ), h[ 2048 ], h[ 9007199254740993 ], h[ 9007199254740992 ]
   FOR i := 1 TO 5000 STEP 2
      PV_HDel( h, i * 1024 )
   NEXT
   ? Len( h ), 1024 $ h, 2048 $ h, h[ 4096 ]
   k := PV_HKeys( h )
   ? k[ 1 ], k[ 2 ], k[ Len( k ) ], ATail( PV_HValues( h ) )
   h := { => }
   FOR i := 1 TO 3000
      h[ "k" + LTrim( Str( i ) ) ] := i
      h[ i * 2147483 ] := i
   NEXT
   n := 0
   FOR i := 1 TO 3000
      n += h[ "k" + LTrim( Str( i ) ) ] + h[ i * 2147483 ]
   NEXT
   ? Len( h ), n, PV_HKeys( h )[ 1 ], PV_HKeys( h )[ 3001 ]
RETURN
