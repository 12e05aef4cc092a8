// Operators, precedence, assignments, sends, references and macros.
FUNCTION Expr( a, b )
   LOCAL c := a + b * 2 ^ 3 ^ 2, d
   d := -a - -2 + +b % 3 / 4
   c := a < b .AND. b <= c .OR. !( a == b ) .AND. a != b
   c := a = b .OR. a <> b .OR. a # b .OR. a > b .OR. a >= b .OR. "x" $ b
   c := a & b | c ^^ 1 << 2 >> 3
   c += 1
   c -= a
   c *= 2
   a[ 1, 2 ] := b[ 3 ]
   a[ 1 ] += 5
   d := a[ 2 ] -= 1
   c++
   --c
   d := c++ + ++c
   x := o:Name + o:Child:Size( 1, , 3 )
   o:Name := "n"
   o:Count += 1
   o:Count++
   c := IIf( a, b, c )
   c := ( a, b, c )
   c := { "k" => 1, "j" => 2 }
   c := { => }
   Foo( @a, @x, @o:Name, @a[ 1 ], @&c )
   c := &b + &( "a" + "b" )
   &b := 1
   c := &b( 1 )
   c := @Foo()
   c := Self
   RETURN c
