PROCEDURE Main()
   ? Fib( 30 )
RETURN
FUNCTION Fib( n )
   IF n < 2
      RETURN n
   ENDIF
RETURN Fib( n - 1 ) + Fib( n - 2 )
