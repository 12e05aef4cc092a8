// Arithmetic, text and date operators: result values, result types and the text STR makes of them.
PROCEDURE Main()
   LOCAL a := 1.25, b := 1.5, n := 7, c := "ab  ", d := 0d20240228
   ? "int", STR( 2 + 3 ), STR( 3 * 4 ), STR( 10 - 13 ), STR( 10 / 2 ), STR( 100 / 10 / 5 )
   ? "div", STR( n / 2 ), STR( 1 / 3 ), STR( -7 / 2 )
   ? "dec", STR( a + b ), STR( a * b ), STR( b - a ), STR( a + 1 )
   ? "mod", 7 % 3, -7 % 3, 7 % -3, STR( 7.5 % 2 )
   ? "pow", 2 ^ 10, 2 ** 3, VALTYPE( 2 ^ 2 )
   ? "big", 2147483647 + 1, 99999 * 99999, 9999999999 + 1
   ? "neg", -n, - -n, STR( -2147483647 * 2 )
   ? "str", STR( 1.5, 5, 0 ), STR( -0.5, 4, 1 ), STR( 123456, 3 ), STR( 3.14159, 6, 2 ), STR( 42, 5 )
   ? "txt", "ab" + "cd", c - "cd", LEN( c - "cd" ), c + "|", "x" - "y"
   ? "date", d + 1, 1 + d, d + 2 - 2, 0d20240301 - d, VALTYPE( 0d20240301 - d ), DTOS( 0d20241231 + 1 )
   ? "inc", IncDec()
   SET DECIMALS TO 4
   ? "set4", 1 / 3, n / 2, a + b
   SET DECIMALS TO 2
   SET FIXED ON
   ? "fixed", STR( 2 ), STR( a * b )
   SET FIXED OFF
RETURN

FUNCTION IncDec()
   LOCAL i := 5, j, k := 1.5
   j := i++ * 10
   ?? j, i
   j := ++i * 10
   ?? j, i
   j := i-- + --i
   ?? j, i
   k++
RETURN k
