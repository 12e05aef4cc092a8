// A class with every kind of member, its methods and a super call.
CLASS TButton FROM TControl, TMixin
   DATA cCaption INIT "OK" AS Character
   DATA lDefault AS Logical
   CLASSDATA nCount INIT 0
   METHOD New( cText ) CONSTRUCTOR
   METHOD Click() INLINE ::lDefault := .T.
   METHOD Paint() VIRTUAL
   ERROR HANDLER OnError( xVal )
   DESTRUCTOR Gone
   OPERATOR "==" ARG oOther INLINE ::cCaption == oOther:cCaption
ENDCLASS

METHOD New( cText ) CLASS TButton
   ::cCaption := cText
   ::TControl:New()
   Super:New()
   AEval( {}, {|| ::nCount++ } )
   RETURN Self

METHOD OnError( xVal ) CLASS TButton
   RETURN NIL

METHOD Gone() CLASS TButton
   RETURN NIL
