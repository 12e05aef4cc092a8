// Several compile errors in one file: each reported with file, line and column; nothing runs.
PROCEDURE Main()
   LOCAL x := 1
   ? "never printed"
   x := ( 1 + 2
   IF x > 1
      ? "a"
   x := 3 +* 4
RETURN

FUNCTION Other()
   LOCAL y
   y := )
RETURN y
