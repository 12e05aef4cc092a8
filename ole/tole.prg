// The Automation object TOleAuto, standing for one IDispatch interface of a server, and the
// wrappers VTWrapper and VTArrayWrapper, which send a value with an explicit VARIANT type.
// Messages the class does not define go to the server through its error handler; the
// marshalling is native (ole/src).

CLASS TOleAuto
   DATA hObj
   DATA cClassName
   DATA pOleEnumerator
   DATA pOleReference   // owns the object's one reference on hObj; gives it back when it goes

   METHOD New( xObj, cClass ) CONSTRUCTOR
   METHOD GetActiveObject( cProgID ) CONSTRUCTOR
   METHOD InitClass()
   METHOD OleCollection( xIndex, xValue )
   METHOD OleOperator( cOperator, nSubCode, bApply, xArg )

   OPERATOR "[]" ARG xIndex INLINE ::OleCollection( xIndex )
   OPERATOR "+" ARG x INLINE ::OleOperator( "+", 1081, {| v | v + x }, x )
   OPERATOR "-" ARG x INLINE ::OleOperator( "-", 1082, {| v | v - x }, x )
   OPERATOR "*" ARG x INLINE ::OleOperator( "*", 1083, {| v | v * x }, x )
   OPERATOR "/" ARG x INLINE ::OleOperator( "/", 1084, {| v | v / x }, x )
   OPERATOR "%" ARG x INLINE ::OleOperator( "%", 1085, {| v | v % x }, x )
   OPERATOR "^" ARG x INLINE ::OleOperator( "^", 1088, {| v | v ^ x }, x )
   OPERATOR "=" ARG x INLINE ::OleOperator( "=", 1085, {| v | v = x }, x )
   OPERATOR "==" ARG x INLINE ::OleOperator( "==", 1085, {| v | v == x }, x )
   OPERATOR "!=" ARG x INLINE ::OleOperator( "!=", 1085, {| v | v != x }, x )
   OPERATOR "++" INLINE ::OleOperator( "++", 1086, {| v | ( Self:_OleValue( v + 1 ), Self ) } )
   OPERATOR "--" INLINE ::OleOperator( "--", 1087, {| v | ( Self:_OleValue( v - 1 ), Self ) } )
   OPERATOR "FOR EACH" INLINE ::OleEnumerate()

ENDCLASS

// The messages answered natively join the class once it exists: Invoke/CallMethod,
// Set/SetProperty, Get/GetProperty, OleValue, _OleValue, OleNewEnumerator, OleEnumerate, and
// the error handler that sends every other message to the server.
METHOD InitClass() CLASS TOleAuto
   __OLECLASSNATIVES( ::ClassH )
RETURN Self

METHOD New( xObj, cClass ) CLASS TOleAuto
   IF ::hObj != NIL
      RETURN PV_EXECFROMARRAY( Self, "_New", PV_APARAMS() )
   ENDIF
   IF ValType( xObj ) == "C"
      ::hObj := CREATEOLEOBJECT( xObj )
      IF OLEERROR() != 0
         RETURN __OLECREATIONERROR( PV_APARAMS(), ProcName() )
      ENDIF
      ::pOleReference := __OLEOWN( ::hObj )
      ::cClassName := xObj
   ELSEIF ValType( xObj ) == "N"
      OLEADDREF( xObj )
      IF OLEERROR() < 0
         RETURN __OLECREATIONERROR( PV_APARAMS(), ProcName() )
      ENDIF
      ::hObj := xObj
      ::pOleReference := __OLEOWN( xObj )
      ::cClassName := IIF( ValType( cClass ) == "C", cClass, LTrim( Str( xObj ) ) )
   ELSE
      RETURN __OLECREATIONERROR( PV_APARAMS(), ProcName(), "Invalid argument to contructor!" )
   ENDIF
RETURN Self

METHOD GetActiveObject( cProgID ) CLASS TOleAuto
   LOCAL hObj
   IF ValType( cProgID ) == "C"
      hObj := GETOLEOBJECT( cProgID )
      IF OLEERROR() != 0
         ::hObj := 0
         RETURN __OLECREATIONERROR( { cProgID }, ProcName() )
      ENDIF
      ::hObj := hObj
      ::pOleReference := __OLEOWN( hObj )
      ::cClassName := cProgID
   ELSE
      MESSAGEBOX( 0, "Invalid parameter type to constructor TOleAuto():GetActiveObject()!", "OLE Interface", 0 )
      ::hObj := 0
   ENDIF
RETURN Self

// Index operator: one argument reads ::Item( x ); two write through _Item, else SetItem.
METHOD OleCollection( xIndex, xValue ) CLASS TOleAuto
   LOCAL xResult, bOld, lFailed := .F.
   IF PCount() == 1
      RETURN ::Item( xIndex )
   ENDIF
   IF ValType( xIndex ) == "N" .AND. xIndex < 0
      xIndex += ::Count() + 1
   ENDIF
   bOld := ErrorBlock( {| e | Break( e ) } )
   BEGIN SEQUENCE
      xResult := ::_Item( xIndex, xValue )
   RECOVER
      lFailed := .T.
   END SEQUENCE
   ErrorBlock( bOld )
   IF lFailed
      xResult := ::SetItem( xIndex, xValue )
   ENDIF
RETURN xResult

// Operators act on the default property; any failure becomes an argument error of the
// operator.
METHOD OleOperator( cOperator, nSubCode, bApply, xArg ) CLASS TOleAuto
   LOCAL xResult, bOld, oErr, lFailed := .F.
   bOld := ErrorBlock( {| e | Break( e ) } )
   BEGIN SEQUENCE
      xResult := Eval( bApply, ::OleValue() )
   RECOVER
      lFailed := .T.
   END SEQUENCE
   ErrorBlock( bOld )
   IF lFailed
      oErr := ErrorNew()
      oErr:Description := "argument error"
      oErr:GenCode := 1
      oErr:SubSystem := "BASE"
      oErr:SubCode := nSubCode
      oErr:Operation := cOperator
      oErr:Severity := 2
      oErr:CanSubstitute := .T.
      oErr:CanDefault := .F.
      oErr:CanRetry := .F.
      oErr:Args := IIF( PCount() < 4, { Self }, { Self, xArg } )
      xResult := __OLELAUNCH( oErr )
   ENDIF
RETURN xResult

CLASS VTWrapper
   DATA vt
   DATA Value
   METHOD New( nVt, xValue ) CONSTRUCTOR
ENDCLASS

METHOD New( nVt, xValue ) CLASS VTWrapper
   ::vt := nVt
   ::Value := xValue
RETURN Self

CLASS VTArrayWrapper FROM VTWrapper
   OPERATOR "[]" ARG n INLINE ::Value[ n ]
   OPERATOR "FOR EACH" INLINE ::Value
ENDCLASS

FUNCTION CreateObject( cProgID )
RETURN TOleAuto():New( cProgID )

FUNCTION GetActiveObject( cProgID )
RETURN TOleAuto():GetActiveObject( cProgID )
