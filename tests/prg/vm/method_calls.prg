// Methods sent many times from one place: the names, lines and argument counts seen at every
// level inside them, data and methods sent inside WITH OBJECT, a method replaced by a function
// after the sends ran, and an error raised deep inside a method.
STATIC s_trace := ""

PROCEDURE Main()
   LOCAL o := TAcc():New(), k, r
   FOR k := 1 TO 3
      r := o:Add( k )
   NEXT
   ? o:nTotal, r:nTotal, o:Where( 1, 2 )
   ? o:Levels()
   WITH OBJECT o
      :nTotal := 100
      ? :Add( 5 ):nTotal, :nTotal, :Where()
   END WITH
   FOR k := 1 TO 4
      IF k == 3
         __ClsAddMsg( o:ClassH, "ADD", "OTHERADD", 0 )
      ENDIF
      r := o:Add( k, k )
      ? k, ValType( r ), iif( ValType( r ) == "N", r, r:nTotal )
   NEXT
   ? Failing( o, 1 ), Failing( o, 2 )
RETURN

FUNCTION OtherAdd( n, m )
RETURN n * 100 + PCount() * 10 + iif( m == NIL, 0, 1 )

STATIC FUNCTION Failing( o, n )
   LOCAL cStack := "", e, old := ErrorBlock( {| e | Break( e ) } ), i
   BEGIN SEQUENCE
      o:Deep( n )
   RECOVER USING e
      cStack := e:Operation + " " + LTrim( Str( e:SubCode ) ) + ":"
      FOR i := 1 TO Len( e:Args )
         cStack += " " + ValType( e:Args[ i ] )
      NEXT
   END SEQUENCE
   ErrorBlock( old )
RETURN cStack + " " + s_trace

CLASS TAcc
   DATA nTotal INIT 0
   METHOD New() INLINE Self
   METHOD Add( n )
   METHOD Where( a, b, c )
   METHOD Levels()
   METHOD Deep( n )
   METHOD Deeper( n )
ENDCLASS

METHOD Add( n ) CLASS TAcc
   ::nTotal += n
RETURN Self

METHOD Where( a, b, c ) CLASS TAcc
RETURN ProcName( 0 ) + "/" + LTrim( Str( ProcLine( 0 ) ) ) + "/" + LTrim( Str( PCount() ) ) + ;
       " " + ProcName( 1 ) + "/" + LTrim( Str( ProcLine( 1 ) ) ) + iif( a == NIL, "", "+" ) + iif( b == NIL, "", "+" )

METHOD Levels() CLASS TAcc
   LOCAL i, c := ""
   FOR i := 0 TO 2
      c += ProcName( i ) + ":" + LTrim( Str( ProcLine( i ) ) ) + " "
   NEXT
RETURN c

METHOD Deep( n ) CLASS TAcc
RETURN ::Deeper( n )

METHOD Deeper( n ) CLASS TAcc
   LOCAL i
   s_trace := ""
   FOR i := 0 TO 3
      s_trace += ProcName( i ) + ":" + LTrim( Str( ProcLine( i ) ) ) + " "
   NEXT
RETURN iif( n == 1, ::nTotal + "x", ::NoSuch() )
