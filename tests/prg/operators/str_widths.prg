// STR of arithmetic results and of literals: default widths, decimals carried by literals and
// operations, rounding of the last digit, width 20 for large values.
PROCEDURE Main()
   LOCAL x := 0.1, y := 0.2
   ? x + y, 1 / 3 * 3, 2 / 3, -1 / 3, 10 / 3
   ? STR( 0.125, 5, 2 ), STR( 2.5, 3, 0 ), STR( -2.5, 3, 0 ), STR( 0.5, 1 ), STR( 1234.5678, 8, 2 )
   ? STR( 10 ^ 15 ), STR( 123456789012, 12 ), 10000000000, 9999999999.5
   ? STR( 0.0 ), STR( 0.00 ), 0.1 * 3, x * y, STR( x * y, 10, 4 ), ROUND( x + y, 2 ) == 0.3
RETURN
