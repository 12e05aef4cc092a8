// Sends repeated from one place in a loop see a method replaced, a message added and an
// instance variable turned into a method after earlier sends ran, in the class and its child.
PROCEDURE Main()
   LOCAL o := TBase():New(), c := TChild():New(), k, h := o:ClassH
   FOR k := 1 TO 6
      IF k == 3
         __ClsAddMsg( h, "VALUE", {| Self | "replaced" }, 3, NIL, 1 )
      ENDIF
      IF k == 5
         __ClsAddMsg( h, "EXTRA", {| Self, n | n * 2 }, 3, NIL, 1 )
         __ClsAddMsg( h, "NCOUNT", {| Self | -1 }, 3, NIL, 1 )
      ENDIF
      ? k, o:Value(), c:Value(), o:nCount, Try( o ), Try( c )
   NEXT
RETURN

STATIC FUNCTION Try( o )
   LOCAL r, old := ErrorBlock( {| e | Break( e ) } )
   BEGIN SEQUENCE
      r := o:Extra( 21 )
   RECOVER
      r := "none"
   END SEQUENCE
   ErrorBlock( old )
RETURN r

CLASS TBase
   DATA nCount INIT 7
   METHOD New() INLINE Self
   METHOD Value()
ENDCLASS

METHOD Value() CLASS TBase
RETURN "base"

CLASS TChild FROM TBase
   METHOD Value()
ENDCLASS

METHOD Value() CLASS TChild
RETURN "child/" + ::TBase:Value()
