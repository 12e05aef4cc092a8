// File-wide and procedure statics: initialisers run once, before Main, in declaration order;
// values persist across calls; a procedure static is private to its procedure.
STATIC s_aLog := {}
STATIC s_nFirst := 10, s_nSecond := 20
STATIC s_cName
STATIC s_aDim[ 3 ]

PROCEDURE Main()
   ? "file", s_nFirst, s_nSecond, ValType( s_cName ), Len( s_aDim ), ValType( s_aDim[ 1 ] )
   ? "calls", Next1(), Next1(), Next1(), Next2(), Next2()
   s_nFirst++
   ? "shared", Peek()
   ? "block", Eval( MakeBlock() ), Eval( MakeBlock() ), s_nSecond
   AAdd( s_aLog, "main" )
   AddLog( "x" )
   ? "log", Len( s_aLog ), s_aLog[ 1 ], s_aLog[ 2 ]
   ? "array init", Arr()[ 1 ], Arr()[ 1 ]
RETURN

FUNCTION Next1()
   STATIC n := 0
   n++
RETURN n

// A second procedure static with the same name is a different variable.
FUNCTION Next2()
   STATIC n := 100
   n += 100
RETURN n

FUNCTION Peek()
RETURN s_nFirst

FUNCTION MakeBlock()
RETURN {|| ++s_nSecond }

PROCEDURE AddLog( c )
   AAdd( s_aLog, c )
RETURN

// An array initialiser is made once, not on every call.
FUNCTION Arr()
   STATIC a := { 0 }
   a[ 1 ]++
RETURN a
