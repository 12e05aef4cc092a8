// Reads of instance variables without arguments, through Self and through a local, checked
// against every kind of receiver and message they can meet: methods of the same name, a message
// redefined or a variable added after reads ran, objects seen as their parent, receivers passed
// by reference or held by a block, and receivers that are no objects.
PROCEDURE Main()
   LOCAL o := TPoint():New( 3, 4 ), i, n := 0, e, b, h
   FOR i := 1 TO 3
      n += o:nX + o:Sum()
   NEXT
   ? "reads", n, o:nX, o:nY, o:Sum(), o:Twice()
   ? "by ref", ByRef( @o )
   b := {|| o:nY }
   ? "block", Eval( b ), Eval( {| p | p:nX }, o )
   ? "parent", TPoint3():New( 1, 2, 3 ):Both()
   ? "memo", o:cNote, Len( o:cNote )
   h := o:ClassH
   __clsAddMsg( h, "NX", {| s | "inline " + Str( s:nY, 1 ) }, 3 )
   ? "redefined", o:nX, o:nY
   __clsAddMsg( h, "NZ", 4, 1 )
   ? "added", ValType( o:nZ ), ValType( TPoint():New( 5, 6 ):nZ ), TPoint():New( 5, 6 ):nY
   o := 12
   TRY
      ? o:nX
   CATCH e
      ? "no object", e:GenCode, e:SubCode, e:Description, e:Operation, Len( e:Args ), e:Args[ 1 ]
   END
   o := NIL
   TRY
      ? o:nY
   CATCH e
      ? "nil", e:SubCode, e:Description, ProcName( 0 ), ProcLine( 0 ) > 0
   END
RETURN

FUNCTION ByRef( o )
RETURN o:nX * 10 + o:nY

CLASS TPoint
   DATA nX
   DATA nY
   DATA cNote INIT "a note"
   METHOD New( nX, nY )
   METHOD Sum()
   METHOD Twice() INLINE ::Sum() * 2
ENDCLASS

METHOD New( nX, nY ) CLASS TPoint
   ::nX := nX
   ::nY := nY
RETURN Self

METHOD Sum() CLASS TPoint
RETURN ::nX + ::nY

CLASS TPoint3 FROM TPoint
   DATA nZ
   METHOD New( nX, nY, nZ )
   METHOD Sum()
   METHOD Both()
ENDCLASS

METHOD New( nX, nY, nZ ) CLASS TPoint3
   ::Super:New( nX, nY )
   ::nZ := nZ
RETURN Self

METHOD Sum() CLASS TPoint3
RETURN ::nX + ::nY + ::nZ

METHOD Both() CLASS TPoint3
RETURN Str( ::Sum(), 2 ) + Str( ::Super:Sum(), 2 ) + Str( ::nZ, 2 )
