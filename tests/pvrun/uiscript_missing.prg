// Run with //uiscript: naming a file that does not exist: the library is loaded at start, reads
// the switch and ends the program (exit code 3) before the main procedure runs.
PROCEDURE Main()
   ? "not reached"
RETURN
