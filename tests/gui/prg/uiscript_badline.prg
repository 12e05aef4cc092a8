// A script with a wrong line is refused before the program starts (exit code 3).
PROCEDURE Main()
   ? "not reached"
RETURN
