// A missing variable reaching the default error system: message with the name, exit code 1.
PROCEDURE Main()
   ? "start"
   Show()
RETURN

PROCEDURE Show()
   ? Missing
RETURN
