// The same code run again and again with operands of changing kinds: the first run of each push
// of a local decides how later runs take it, and every later run must give what the first gave.
PROCEDURE Main()
   LOCAL aArgs := { { 3, 4 }, { 2.5, 4 }, { 7, 0.25 }, { 1.50, 2.125 }, { 2147483647, 2 }, ;
                    { -2147483647, -5 }, { 9000000000, 3 }, { "ab", "cd" }, { Date(), 3 }, ;
                    { { 10, 20, 30 }, 2 }, { NIL, 1 }, { .T., .F. }, { 3, 4 }, { 0.1, 0.2 } }
   LOCAL a, i, nPass
   FOR nPass := 1 TO 2
      FOR i := 1 TO Len( aArgs )
         a := aArgs[ i ]
         IF ValType( a[ 1 ] ) == "D"
            a[ 1 ] := SToD( "20261207" )
         ENDIF
         Show( i, a[ 1 ], a[ 2 ] )
      NEXT
   NEXT
   ? "loop", Loop( 10 ), Loop( 10.5 ), Loop( 3 )
   ? "fib", Fib( 20 ), Fib( 20.0 )
   ? "block", Blocks()
   ? "stores", Stores( 3 ), Stores( 4.5 )
   ? "substituted", Substituted()
RETURN

// An error handler that gives a value in place of the failed operation's result, for operands
// met first as numbers and later as texts.
STATIC FUNCTION Substituted()
   LOCAL bOld := ErrorBlock( {| e | e:subCode } ), a, b, r := "", i
   FOR i := 1 TO 4
      a := iif( i % 2 == 0, "t", i )
      b := iif( i > 2, {}, 2 )
      r += Str( a * b ) + Str( a - 1 ) + Str( b + a ) + iif( a < b, "<", ">" ) + ";"
   NEXT
   ErrorBlock( bOld )
RETURN r

// Results stored into locals that hold references, captured locals and texts.
STATIC FUNCTION Stores( n )
   LOCAL a := 1, b := {|| a }, c := "text", d := 0, i, r := 0
   FOR i := 1 TO 3
      a := n * i + d
      c := a - 1
      d := a
      Twice( @r, n )
   NEXT
RETURN Text( Eval( b ) ) + " " + Text( c ) + " " + Text( d ) + " " + Text( r )

STATIC PROCEDURE Twice( x, n )
   LOCAL t := n
   x := x + n * 2
   x := t
RETURN

STATIC PROCEDURE Show( i, x, y )
   ? i, Try( {|| x + y } ), Try( {|| x - y } ), Try( {|| x * y } )
   ? " ", Try( {|| Pair( x, y ) } ), Try( {|| Operand( x, y ) } ), Try( {|| Compare( x, y ) } )
   ? " ", Try( {|| Index( x, y ) } ), Try( {|| Store( x, y ) } )
RETURN

// Each operator with a local or an integer literal on either side.
STATIC FUNCTION Pair( x, y )
   LOCAL r1, r2, r3, r4, r5, r6
   r1 := x + y
   r2 := x - y
   r3 := x * y
   r4 := x + 1
   r5 := x - 2.25
   r6 := x * 3
RETURN Show6( r1, r2, r3, r4, r5, r6 )

// The local as the right operand of an operator whose left operand is already on the stack.
STATIC FUNCTION Operand( x, y )
   LOCAL r1, r2, r3
   r1 := ( x ) + ( y + y )
   r2 := ( x ) - ( y * y )
   r3 := Ident( x ) * y
RETURN Show6( r1, r2, r3, x, y, 0 )

STATIC FUNCTION Compare( x, y )
   LOCAL c := ""
   c += iif( x < y, "<", "." )
   c += iif( x <= y, "L", "." )
   c += iif( x > y, ">", "." )
   c += iif( x >= y, "G", "." )
   c += iif( x == y, "=", "." )
   c += iif( x != y, "#", "." )
   c += iif( x < 5, "5", "." )
   c += iif( x < 2.5, "d", "." )
   c += iif( Ident( y ) > x, "y", "." )
   IF x < y .AND. y > 0
      c += "&"
   ENDIF
   IF x > y .OR. y < 0
      c += "|"
   ENDIF
RETURN c

STATIC FUNCTION Index( x, y )
RETURN x[ y ]

STATIC FUNCTION Store( x, y )
   LOCAL a := { 1, 2, 3 }
   a[ y ] := x
RETURN Len( a )

STATIC FUNCTION Ident( v )
RETURN v

STATIC FUNCTION Show6( a, b, c, d, e, f )
RETURN Text( a ) + " " + Text( b ) + " " + Text( c ) + " " + Text( d ) + " " + Text( e ) + " " + Text( f )

STATIC FUNCTION Text( v )
   SWITCH ValType( v )
   CASE "N"
      RETURN "N[" + Str( v ) + "]"
   CASE "C"
      RETURN "C[" + v + "]"
   CASE "D"
      RETURN "D[" + DToS( v ) + "]"
   CASE "L"
      RETURN iif( v, "T", "F" )
   CASE "A"
      RETURN "A" + LTrim( Str( Len( v ) ) )
   ENDSWITCH
RETURN ValType( v )

STATIC FUNCTION Try( b )
   LOCAL r, bOld := ErrorBlock( {| e | Break( { e, ProcName( 1 ) + "@" + LTrim( Str( ProcLine( 1 ) ) ) } ) } )
   BEGIN SEQUENCE
      r := Eval( b )
   RECOVER USING r
      r := "error " + r[ 1 ]:subsystem + "/" + LTrim( Str( r[ 1 ]:subCode ) ) + " " + ;
           r[ 1 ]:operation + " " + LTrim( Str( Len( r[ 1 ]:args ) ) ) + " " + r[ 2 ]
   END SEQUENCE
   ErrorBlock( bOld )
RETURN iif( ValType( r ) == "C", r, Text( r ) )

STATIC FUNCTION Loop( n )
   LOCAL k := 0, t := 0
   DO WHILE k < n .AND. t * 2 <= 1000
      t := t + k * k - 1
      k++
   ENDDO
RETURN Str( t ) + "/" + Str( k ) + "/" + LTrim( Str( ProcLine() ) )

STATIC FUNCTION Fib( n )
   IF n < 2
      RETURN n
   ENDIF
RETURN Fib( n - 1 ) + Fib( n - 2 )

// Blocks made in a procedure run their code from the same copy as the procedure.
STATIC FUNCTION Blocks()
   LOCAL m := 3, b := {| x | x * m + 1 }, c := {| x, y | iif( x < y, x - y, y * x ) }, s := 0, i
   FOR i := 1 TO 5
      s += Eval( b, i ) + Eval( c, i, 3 ) + Eval( c, 2.5, i )
   NEXT
RETURN s
