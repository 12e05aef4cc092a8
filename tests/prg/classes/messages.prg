// Inheritance over three levels and from two parents, Super: and ::Parent: calls, redefinition
// limited to the subclass, constructors through the class function, InitClass, typed DATA
// defaults, _NAME sends, the read message with one argument, inline and virtual messages,
// an error handler for unknown messages, class data shared by all instances.
MEMVAR cInit
PROCEDURE Main()
   LOCAL a, b, c, m, e
   PUBLIC cInit := ""
   a := TBase():New( "a" )
   b := TMid():New( "b" )
   c := TTop():New( "c" )
   ? "who", a:Who(), b:Who(), c:Who()
   ? "parent kept", a:Kind(), b:Kind(), c:Kind()
   ? "super chain", c:Chain()
   ? "by name", c:TMid:Who(), c:TBase:Who()
   ? "constructor", TBase( "direct" ):cName, TTop( "t" ):nLevel, cInit
   ? "typed", ValType( a:lFlag ), a:lFlag, a:nCount, ValType( a:xAny )
   ? "assign result", a:_cName( "renamed" ), a:cName
   a:cName( "by read message" )
   ? "read with arg", a:cName
   ? "assign op", ( a:nCount := 5 ), a:nCount, ( a:nCount += 2 ), a:nCount
   a:nCount++
   ? "postinc", a:nCount
   ? "inline", a:Twice( 4 ), a:Me():cName
   ? "virtual", ValType( a:Later() ), ValType( a:Later( 1, 2 ) )
   ? "isderived", c:IsDerivedFrom( "TBASE" ), a:IsDerivedFrom( "TTOP" ), c:ClassName()
   ? "hasmsg", __objHasMsg( c, "CHAIN" ), __objHasMsg( a, "CHAIN" )
   m := TMixed():New()
   ? "two parents", m:Who(), m:Extra(), m:cName, m:cTag
   ? "on error", TCatchAll():Anything( 1, 2 ), TCatchAll():_Prop( 3 )
   TRY
      a:Missing()
   CATCH e
      ? "missing", e:GenCode, e:SubCode, e:Description, e:Operation
   END
   TRY
      a:Missing := 1
   CATCH e
      ? "missing var", e:GenCode, e:SubCode, e:Description, e:Operation
   END
   TCount():New()
   TCount():New()
   ? "class data", TCount():New():nTotal, TCount():New():nTotal
RETURN

CLASS TBase
   DATA cName
   DATA lFlag AS LOGICAL
   DATA nCount AS NUMERIC
   DATA xAny
   METHOD New( cName ) CONSTRUCTOR
   METHOD Who()
   METHOD Kind() INLINE "base"
   METHOD Twice( n ) INLINE n * 2
   METHOD Me() INLINE Self
   METHOD Later() VIRTUAL
ENDCLASS

METHOD New( cName ) CLASS TBase
   ::cName := cName
RETURN Self

METHOD Who() CLASS TBase
RETURN "base:" + ::cName

CLASS TMid FROM TBase
   METHOD Who()
   METHOD Kind() INLINE "mid"
ENDCLASS

METHOD Who() CLASS TMid
RETURN "mid>" + Super:Who()

CLASS TTop FROM TMid
   DATA nLevel INIT 3
   METHOD New( cName ) CONSTRUCTOR
   METHOD Chain()
   METHOD InitClass()
ENDCLASS

METHOD New( cName ) CLASS TTop
   ::TMid:New( Upper( cName ) )
RETURN Self

METHOD Chain() CLASS TTop
RETURN ::Who() + "|" + ::TBase:Who()

METHOD InitClass() CLASS TTop
   cInit += "init;"
RETURN Self

CLASS TTag
   DATA cTag INIT "tag"
   METHOD Extra() INLINE "extra:" + ::cTag
ENDCLASS

CLASS TMixed FROM TBase, TTag
   METHOD New() INLINE ( ::cName := "mixed", Self )
ENDCLASS

CLASS TCatchAll
   ERROR HANDLER Catch
ENDCLASS

METHOD Catch( p1, p2 ) CLASS TCatchAll
RETURN __GetMessage() + ":" + LTrim( Str( PCount() ) )

CLASS TCount
   CLASSDATA nTotal INIT 0
   METHOD New() INLINE ( ::nTotal++, Self )
ENDCLASS

