// One send site meeting objects of several classes, and sends repeated after their class
// changed: inherited and overridden methods, Super calls, assignments, a method redefined or
// added at run time, a method turned virtual, messages not understood (with their error
// objects) after the same site found methods, and many classes answering one message.
PROCEDURE Main()
   LOCAL aObj, o, i, e, h, cOut, n
   aObj := { TShape():New( 2 ), TSquare():New( 3 ), TCircle():New( 1 ), TSquare():New( 4 ) }
   FOR i := 1 TO 2
      cOut := ""
      FOR EACH o IN aObj
         cOut += o:Describe() + "=" + LTrim( Str( o:Area(), 8, 2 ) ) + " "
      NEXT
      ? "site", i, cOut
   NEXT
   ? "setters"
   FOR EACH o IN aObj
      o:nSize := o:nSize + 1
      o:nSize += 10
      o:nSize++
      o:nSize( o:nSize * 2 )
      ?? "", o:nSize, o:_nSize( o:nSize - 1 )
   NEXT
   ?
   ? "by name", aObj[ 2 ]:TShape:Describe(), aObj[ 2 ]:Super:Describe()
   FOR i := 1 TO 2
      ? "parent view", aObj[ 2 ]:TShape:Area(), aObj[ 2 ]:TShape:nSize, aObj[ 3 ]:Super:Area(), ;
         aObj[ 3 ]:Area(), aObj[ 4 ]:Describe()
   NEXT

   // A method redefined after the same site ran it; a subclass made earlier keeps its copy.
   o := TShape():New( 5 )
   h := o:ClassH
   FOR i := 1 TO 4
      IF i == 3
         __clsAddMsg( h, "DESCRIBE", "REDESCRIBE", 0 )
      ENDIF
      ?? "", o:Describe(), TCircle():New( 1 ):Describe()
   NEXT
   ?

   // A message the class lacks, then added: the same site first raises, then answers.
   FOR i := 1 TO 4
      IF i == 3
         __clsAddMsg( h, "WEIGHT", "WEIGHTOF", 0 )
      ENDIF
      TRY
         ? "weight", o:Weight( i, "kg" )
      CATCH e
         ? "weight error", e:GenCode, e:SubCode, e:Description, e:Operation, Len( e:Args ), ;
            e:Args[ 2 ], e:Args[ 3 ], e:Args[ 1 ]:nSize
      END
   NEXT

   // One site that finds a method for some receivers and none for others.
   FOR EACH o IN { TSquare():New( 2 ), TShape():New( 2 ), TSquare():New( 3 ), 7, NIL }
      TRY
         ? "corners", o:Corners( 10 )
      CATCH e
         ? "corners error", e:SubCode, e:Description, e:Operation, Len( e:Args ), e:Args[ 2 ]
      END
      TRY
         o:nCorners := 5
         ? "set corners", o:nCorners
      CATCH e
         ? "set corners error", e:GenCode, e:SubCode, e:Description, e:Operation, e:Args[ 2 ]
      END
   NEXT

   // A method made virtual, and an instance variable turned into a method, after sends.
   o := TSquare():New( 6 )
   FOR i := 1 TO 3
      IF i == 2
         __clsAddMsg( o:ClassH, "AREA", 0, 4 )
         __clsAddMsg( o:ClassH, "NSIZE", "SIZETEXT", 0 )
      ENDIF
      ? "changed", ValType( o:Area() ), o:nSize
   NEXT

   // Many classes made at run time answering the same message at one site.
   aObj := {}
   FOR i := 1 TO 40
      AAdd( aObj, __clsInst( MakeClass( i ) ) )
   NEXT
   FOR i := 1 TO 2
      n := 0
      FOR EACH o IN aObj
         n += o:Id() * o:Scale( 2 )
      NEXT
      ? "many classes", n, aObj[ 17 ]:ClassName(), aObj[ 40 ]:Id()
   NEXT
RETURN

FUNCTION Redescribe()
RETURN "new shape " + LTrim( Str( Self:nSize ) )

FUNCTION WeightOf( n, cUnit )
RETURN LTrim( Str( Self:nSize * n ) ) + cUnit

FUNCTION SizeText()
RETURN "size"

FUNCTION MakeClass( n )
   LOCAL h := __clsNew( "TGEN" + LTrim( Str( n ) ), 0, 2 )
   __clsAddMsg( h, "ID", {| s | n }, 3 )
   __clsAddMsg( h, "SCALE", {| s, k | k * n }, 3 )
RETURN h

CLASS TShape
   DATA nSize
   METHOD New( nSize ) CONSTRUCTOR
   METHOD Describe()
   METHOD Area() INLINE ::Side() * ::Side()
   METHOD Side() INLINE ::nSize
ENDCLASS

METHOD New( nSize ) CLASS TShape
   ::nSize := nSize
RETURN Self

METHOD Describe() CLASS TShape
RETURN "shape " + LTrim( Str( ::nSize ) )

CLASS TSquare FROM TShape
   DATA nCorners INIT 4
   METHOD Describe()
   METHOD Corners( n )
ENDCLASS

METHOD Describe() CLASS TSquare
RETURN "square of " + Super:Describe()

METHOD Corners( n ) CLASS TSquare
RETURN ::nCorners * n

CLASS TCircle FROM TShape
   METHOD Area()
ENDCLASS

METHOD Area() CLASS TCircle
RETURN ::nSize * ::nSize * 3.14
