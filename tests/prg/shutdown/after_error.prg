// EXIT procedures still run when the default error system ends the program.
PROCEDURE Main()
   ? "main"
   ? 1 + "a"
RETURN
EXIT PROCEDURE Bye()
   ? "exit proc"
RETURN
