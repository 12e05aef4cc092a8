// Garbage that only the collector can free (arrays that refer to themselves) is collected
// while the dialog waits for input, without any call of the program's own.
STATIC s_nWithGarbage := 0

PROCEDURE Main()
   LOCAL oDlg := TDialog():New( 2, 2, 8, 30, "Idle test" )
   TButton():New( 1, 1, "&Close", oDlg, {|| Report(), oDlg:End() }, 40, 14 )
   oDlg:Activate( , , , , , , {|| MakeGarbage(), .T. } )
RETURN

STATIC FUNCTION MakeGarbage()
   LOCAL i, a, nBefore := Memory( 1001 )
   FOR i := 1 TO 2000
      a := { NIL, Space( 1000 ) }
      a[ 1 ] := a
   NEXT
   a := NIL
   s_nWithGarbage := Memory( 1001 )
   ? "garbage made", s_nWithGarbage - nBefore > 2000000
RETURN NIL

STATIC FUNCTION Report()
   ? "freed while idle", Memory( 1001 ) < s_nWithGarbage - 1000000
RETURN NIL
