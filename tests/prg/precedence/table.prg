// Operator precedence, highest first: postfix, prefix, ^ **, * / %, + -, << >>, & | ^^,
// relational, .AND., .OR., assignment (right to left); binary operators associate left to right.
PROCEDURE Main()
   LOCAL a := { 3, 4 }, x, y, z, i := 2
   ? "power", 2 + 3 * 4 ^ 2, -2 ^ 2, 2 ^ 3 ^ 2, 2 * -3 ^ 2, a[ 1 ] ^ 2, -a[ 2 ]
   ? "mult", 2 * 3 % 4, 7 % 4 * 2, 12 / 2 * 3, 2 + 3 * 4, ( 2 + 3 ) * 4, 3 - -2
   ? "add", 10 - 4 - 3, 100 / 10 / 5, 1 + 2 * 3 - 4 / 2
   ? "shift", 1 + 2 << 1, 1 << 2 + 1, 4 >> 1 | 1, 16 >> 1 >> 1
   ? "bits", 6 & 3 | 8, 8 | 6 & 3, 5 ^^ 1 & 4, 6 & 3 = 2, 1 | 2 == 3
   ? "rel", 2 + 3 = 5, 1 < 2 = .T., "a" + "b" $ "xaby", 3 > 2 == .T.
   ? "not", ! .T. == .F., .NOT. .F. .AND. .F., .NOT. ( .F. .AND. .F. ), .NOT. .T. < .F., ! .T. < .F.
   ? "andor", .T. .OR. .T. .AND. .F., .F. .AND. .F. .OR. .T., .F. .OR. .F. .AND. .T., 1 < 2 .AND. 2 < 3
   x := y := z := 7
   ? "assign", x, y, z
   x := 2
   y := 3
   x += y *= 2
   ? "compound", x, y
   ? "postfix", i++ * 10, i, ++i * 10, i, -i++, i
   x := { { 1, 2 }, { 3, 4 } }
   ? "element", x[ 2 ][ 1 ] * 2 + x[ 1, 2 ], Len( x[ 2 ] ) ^ 2
RETURN
