// Negative results keep room for their sign: negated doubles, folded negative literals and
// integer sums and differences below -999,999,999 (default width 20).
PROCEDURE Main()
   LOCAL a := 1.25, y := 12.5, big := 1000000000, z := -999999999, w := -999999999
   ? LTRIM( STR( -a ) ), LTRIM( STR( -y ) ), LTRIM( STR( -0.5 ) ), LTRIM( STR( -( a + 1 ) ) )
   ? STR( 0 - big ), STR( z - 1 ), STR( z + -1 ), LEN( STR( z - 1 ) )
   w--
   ? STR( w )
RETURN
