// Instances: array and hash initial values copied per instance, a subclass overriding an initial
// value, class data shared, constructor fallback to the last message, the warning without
// messages, __objSendMsg, class names. (Each class function is called several times.)
PROCEDURE Main()
   LOCAL a, b, o
   a := TList():New()
   b := TList():New()
   AAdd( a:aItems, 1 )
   ? "copies", Len( a:aItems ), Len( b:aItems ), a:hMap == b:hMap
   o := TNoCtor( 5 )
   ? "last message", ValType( o ), o
   o := TEmpty( 1 )
   ? "empty", ValType( o )
   ? "sub init", TChild():New():nVal, TList():New():nVal
   ? "clsdata", TList():nShared, TChild():nShared
   TList():nShared := 9
   ? "clsdata set", TList():nShared, TList():New():nShared
   ? "send", __objSendMsg( a, "Size" ), __objSendMsg( a, "_nVal", 77 ), a:nVal
   ? "clsname", __objGetClsName( a ), a:ClassH > 0
RETURN

CLASS TList
   DATA aItems INIT {}
   DATA hMap INIT { "k" => 1 }
   DATA nVal INIT 1
   CLASSDATA nShared INIT 5
   METHOD New() INLINE Self
   METHOD Size() INLINE Len( ::aItems )
ENDCLASS

CLASS TChild FROM TList
   DATA nVal INIT 2
ENDCLASS

CLASS TNoCtor
   DATA n
   METHOD First() INLINE "first"
   METHOD Last( x ) INLINE ( ::n := x, "last got " + LTrim( Str( x ) ) )
ENDCLASS

CLASS TEmpty
ENDCLASS
