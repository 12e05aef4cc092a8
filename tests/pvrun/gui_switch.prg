// Run with //gui: the GUI library is loaded at start, though the program does not use it.
PROCEDURE Main()
   ? "plain", PCount()
RETURN
