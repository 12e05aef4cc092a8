// Sends of many kinds at one site over objects of four classes: methods with several
// arguments, inherited and overridden methods, inline methods, Super calls, sends from inside
// methods, instance-variable reads and assignments.
PROCEDURE Main()
   LOCAL aShapes := {}, i, n, o, nTotal := 0
   FOR i := 1 TO 100
      DO CASE
      CASE i % 4 == 0
         AAdd( aShapes, TRect():New( i, 0, 2, 3 ) )
      CASE i % 4 == 1
         AAdd( aShapes, TSquare():New( 0, i, 4 ) )
      CASE i % 4 == 2
         AAdd( aShapes, TFrame():New( i, i, 6, 5, 1 ) )
      OTHERWISE
         AAdd( aShapes, TDot():New( i, 1 ) )
      ENDCASE
   NEXT
   FOR n := 1 TO 5000
      FOR EACH o IN aShapes
         o:Move( 1, -1 )
         nTotal += o:Weight() + o:nX - o:nY
         IF n % 100 == 0
            o:Grow( 1 )
         ENDIF
      NEXT
   NEXT
   ? nTotal
RETURN

CLASS TShape
   DATA nX INIT 0
   DATA nY INIT 0
   METHOD Move( nDx, nDy )
   METHOD Area() INLINE 0
   METHOD Weight() INLINE ::Area() * 2 + 1
   METHOD Grow( n ) VIRTUAL
ENDCLASS

METHOD Move( nDx, nDy ) CLASS TShape
   ::nX += nDx
   ::nY := ::nY + nDy
RETURN Self

CLASS TDot FROM TShape
   METHOD New( nX, nY )
ENDCLASS

METHOD New( nX, nY ) CLASS TDot
   ::nX := nX
   ::nY := nY
RETURN Self

CLASS TRect FROM TShape
   DATA nW
   DATA nH
   METHOD New( nX, nY, nW, nH )
   METHOD Area() INLINE ::nW * ::nH
   METHOD Grow( n )
ENDCLASS

METHOD New( nX, nY, nW, nH ) CLASS TRect
   ::nX := nX
   ::nY := nY
   ::nW := nW
   ::nH := nH
RETURN Self

METHOD Grow( n ) CLASS TRect
   ::nW += n
   ::nH += n
RETURN Self

CLASS TSquare FROM TRect
   METHOD New( nX, nY, nSide )
ENDCLASS

METHOD New( nX, nY, nSide ) CLASS TSquare
   ::Super:New( nX, nY, nSide, nSide )
RETURN Self

CLASS TFrame FROM TRect
   DATA nBorder
   METHOD New( nX, nY, nW, nH, nBorder )
   METHOD Area()
ENDCLASS

METHOD New( nX, nY, nW, nH, nBorder ) CLASS TFrame
   ::Super:New( nX, nY, nW, nH )
   ::nBorder := nBorder
RETURN Self

METHOD Area() CLASS TFrame
RETURN Super:Area() - ( ::nW - 2 * ::nBorder ) * ( ::nH - 2 * ::nBorder )
