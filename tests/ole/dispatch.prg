// Dynamic dispatch against the recording server: the _VALUE put, method then get, the put
// under the full name, lookups of "_" names, Invoke/Set/Get, the default-value retry made
// once, the class-name chain and the Automation error's fields.
PROCEDURE Main()
   LOCAL o, w, c, e, x
   o := TOleAuto():New( "PvTest.Recorder" )
   ? "class", o:cClassName
   ? "put", ( o:Value := 5 )
   ?? Chr( 10 ) + o:Log
   ? "get", o:Value
   ?? Chr( 10 ) + o:Log
   ? "get only", o:Name
   ?? Chr( 10 ) + o:Log
   ? "put only", o:PutOnly( 7 ), o:Value
   ?? Chr( 10 ) + o:Log
   TRY
      PV_EXECFROMARRAY( o, "_", { 1 } )
   CATCH e
      ? "underscore alone", e:SubCode, e:Description, e:Operation
   END
   ?? Chr( 10 ) + o:Log
   TRY
      PV_EXECFROMARRAY( o, "_VALUE" )
   CATCH e
      ? "underscore without arguments", e:Description, e:Operation
   END
   ?? Chr( 10 ) + o:Log
   ? "invoke unknown", o:Invoke( "Nothing" ), OLEERROR(), OLE2TXTERROR()
   ? "invoke", o:Invoke( "Echo", "hello" ), o:Set( "Value", 9 ), o:Get( "Value" ), o:SetProperty( "_Value", 10 ), o:GetProperty( "VALUE" ), o:CallMethod( "Echo", 1 )
   ?? Chr( 10 ) + o:Log
   w := o:Wrapper
   ? "wrapper", w:cClassName
   ? "default value retry", w:Name
   ?? Chr( 10 ) + o:Log
   TRY
      w:Nothing()
   CATCH e
      ? "second failure", e:GenCode, e:SubCode, e:SubSystem, e:Operation, e:Description, Len( e:Args ), e:CanSubstitute
   END
   ?? Chr( 10 ) + o:Log
   c := o:Child():Child()
   ? "chain", c:cClassName
   TRY
      c:Missing( 1, "two" )
   CATCH e
      ? "chain error", e:SubSystem, e:Operation, e:Args[ 1 ], e:Args[ 2 ]
   END
   o:FailNext := -2147352567
   ? "exception", o:Invoke( "Name" ), OLEERROR(), OLE2TXTERROR(), OLEEXCEPTIONSOURCE(), OLEEXCEPTIONDESCRIPTION()
   o:FailNext := -2147352567
   ? "show", o:Invoke( "Name" ), OLESHOWEXCEPTION()
   ? "after", o:Name, OLEEXCEPTIONSOURCE()
   ErrorBlock( {| e | "substituted " + e:Description } )
   ? "substitute", o:Nothing()
   ? "value", o:OleValue(), o:_OleValue( 11 ), o:Value
   ? "operators", o + 1, o - 1, o * 2, o / 2, o % 4, o ^ 2, o == 11, o = 11, o != 11
   o++
   ? "increment", o:Value
   o--
   ? "decrement", o:Value
   o:Value := "text"
   ErrorBlock( {| e | e:SubSystem + "/" + LTrim( Str( e:SubCode ) ) + " " + e:Description + " " + e:Operation } )
   ? "operator error", o * 2
   TRY
      ? o + 1
   CATCH e
      ? "operator error caught", e:SubCode, e:Operation, Len( e:Args )
   END
   ? "items", o[ 2 ], o:Count, ValType( o:OleNewEnumerator() )
   FOR EACH x IN o
      ? "each", ValType( x ), IIF( ValType( x ) == "O", x:Name, x )
   NEXT
   // Objects got through receivers of different names are named after their own receiver.
   ? "names", c:Child():cClassName, o:Child():cClassName, c:Child():cClassName, w:Child():cClassName
RETURN
