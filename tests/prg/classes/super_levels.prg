// Super: inside a method of a middle class reaches that class's parent, also when the receiver
// is an instance of a subclass of the middle class (no endless recursion).
PROCEDURE Main()
   LOCAL c := TTop():New( "c" )
   ? c:Who()
   ? c:TMid:Who()
RETURN

CLASS TBase
   DATA cName
   METHOD New( cName ) CONSTRUCTOR
   METHOD Who()
ENDCLASS

METHOD New( cName ) CLASS TBase
   ::cName := cName
RETURN Self

METHOD Who() CLASS TBase
RETURN "base:" + ::cName

CLASS TMid FROM TBase
   METHOD Who()
ENDCLASS

METHOD Who() CLASS TMid
RETURN "mid>" + Super:Who()

CLASS TTop FROM TMid
ENDCLASS
