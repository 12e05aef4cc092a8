// PUBLIC hidden by a PRIVATE and visible again, PUBLIC from an array of names, RELEASE of one
// private, PRIVATE arrays, PUBLIC of an existing name leaves it alone.
MEMVAR G, A1, A2, PX, PY
PROCEDURE Main()
   PUBLIC G := "global"
   Hide()
   ? "public back", G
   __MVPUBLIC( { "A1", "A2" } )
   ? "array public", A1, A2
   Masks()
   PRIVATE Arr[ 3 ]
   ? "private array", Len( Arr ), ValType( Arr[ 1 ] )
   PUBLIC G
   ? "public again", G
RETURN

PROCEDURE Hide()
   PRIVATE G := "private"
   ? "hidden", G
   G := "changed"
RETURN

PROCEDURE Masks()
   PRIVATE PX := 1, PY := 2, QZ := 3
   RELEASE PX
   ? "mask", ValType( PX ), ValType( PY ), QZ
RETURN
