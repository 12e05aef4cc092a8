// Instance variables read and assigned through every form of send: the assigning message,
// one argument to the reading message, compound assignment, a receiver passed by reference
// and a parent's view of the object.
PROCEDURE Main()
   LOCAL o := TPoint():New(), c := TPoint3():New(), k
   o:nX := 3
   o:_nY( 4 )
   ? o:nX, o:nY, o:nX( 10 ), o:nX, o:_nY( 5, 6 ), o:nY
   o:nX += 5
   o:nY *= 2
   ? o:nX, o:nY, o:Sum()
   Move( @o, 2 )
   ? o:nX, o:nY
   c:nX := 1
   c:nZ := 7
   ? c:nX, c:nZ, c:Sum(), c:Parent(), c:ClassName()
   FOR k := 1 TO 3
      c:nZ := c:nZ + k
   NEXT
   ? c:nZ, ValType( o:cNote ), o:cNote
RETURN

STATIC PROCEDURE Move( p, d )
   p:nX += d
   p:nY := p:nY - d
RETURN

CLASS TPoint
   DATA nX INIT 0
   DATA nY INIT 0
   DATA cNote INIT "none"
   METHOD New() INLINE Self
   METHOD Sum() INLINE ::nX + ::nY
ENDCLASS

CLASS TPoint3 FROM TPoint
   DATA nZ INIT 0
   METHOD Sum() INLINE ::nX + ::nY + ::nZ
   METHOD Parent() INLINE ::TPoint:Sum()
ENDCLASS
