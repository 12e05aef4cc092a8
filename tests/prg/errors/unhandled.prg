// An error without a handler of the program's own: message and call stack on stderr, exit 1.
PROCEDURE Main()
   ? "zero divisor gives", 10 / 0
   Level1()
   ? "not reached"
RETURN

PROCEDURE Level1()
   LOCAL a := { 1, 2 }
   ? a[ 3 ]
RETURN
