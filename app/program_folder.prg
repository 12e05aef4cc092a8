// The program's own path and folder (where workbooks and error reports go), and whole numbers as
// text for the names and lines made from them.

// The full path of the running executable, with backslashes as separators.
FUNCTION ProgramPath()
RETURN GetModuleFileName( GetInstance() )

// A whole number as text without blanks. STR alone would add the SET DECIMALS places, since the
// program runs with SET FIXED on ("FEHLER_1.00.log", "Total : 300.00").
FUNCTION IntText( nValue )
RETURN LTrim( Str( nValue, 20 ) )

// The folder of a program path, without a trailing backslash.
FUNCTION ProgramFolder( cPath )
RETURN Left( cPath, RAt( "\", cPath ) - 1 )
