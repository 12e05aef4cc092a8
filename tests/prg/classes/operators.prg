// Operator overloading through the class's operator messages, and destructors run when the
// last reference to an instance goes (assignment, leaving a procedure, array element removal).
MEMVAR cLog
PROCEDURE Main()
   LOCAL v1, v2, o, a
   PUBLIC cLog := ""
   v1 := TVec():New( 1, 2 )
   v2 := TVec():New( 10, 20 )
   ? "arith", ( v1 + v2 ):Show(), ( v2 - v1 ):Show(), ( v1 * 3 ):Show(), ( v2 / 2 ):Show(), ( v2 % 3 ):Show(), ( v1 ^ 2 ):Show()
   ? "compare", v1 == v2, v1 = TVec():New( 1, 2 ), v1 != v2, v1 < v2, v1 <= v1, v2 > v1, v1 >= v2
   ? "others", v1 $ v2, v1[ 2 ], ! v1
   v1++
   ? "inc", v1:Show()
   v1--
   ? "dec", v1:Show()
   o := TTmp():New( "first" )
   o := NIL
   ? "after nil", cLog
   Scope()
   ? "after scope", cLog
   a := { TTmp():New( "elem" ), 1 }
   ADel( a, 1 )
   ? "after adel", cLog
   o := TTmp():New( "kept" )
   a := { o }
   a := NIL
   ? "still held", cLog
RETURN

PROCEDURE Scope()
   LOCAL o := TTmp():New( "local" )
   cLog += "<in scope>"
RETURN

CLASS TVec
   DATA x
   DATA y
   METHOD New( x, y ) INLINE ( ::x := x, ::y := y, Self )
   METHOD Show() INLINE LTrim( Str( ::x ) ) + "," + LTrim( Str( ::y ) )
   OPERATOR "+" ARG o INLINE TVec():New( ::x + o:x, ::y + o:y )
   OPERATOR "-" ARG o INLINE TVec():New( ::x - o:x, ::y - o:y )
   OPERATOR "*" ARG n INLINE TVec():New( ::x * n, ::y * n )
   OPERATOR "/" ARG n INLINE TVec():New( ::x / n, ::y / n )
   OPERATOR "%" ARG n INLINE TVec():New( ::x % n, ::y % n )
   OPERATOR "^" ARG n INLINE TVec():New( ::x ^ n, ::y ^ n )
   OPERATOR "==" ARG o INLINE ::x == o:x .AND. ::y == o:y
   OPERATOR "=" ARG o INLINE ::x = o:x .AND. ::y = o:y
   OPERATOR "!=" ARG o INLINE ::x != o:x .OR. ::y != o:y
   OPERATOR "<" ARG o INLINE ::x < o:x
   OPERATOR "<=" ARG o INLINE ::x <= o:x
   OPERATOR ">" ARG o INLINE ::x > o:x
   OPERATOR ">=" ARG o INLINE ::x >= o:x
   OPERATOR "$" ARG o INLINE "contained"
   OPERATOR "[]" ARG n INLINE IIF( n == 1, ::x, ::y )
   OPERATOR "!" INLINE "not"
   OPERATOR "++" INLINE ( ::x++, Self )
   OPERATOR "--" INLINE ( ::x--, Self )
ENDCLASS

CLASS TTmp
   DATA cName
   METHOD New( c ) INLINE ( ::cName := c, Self )
   DESTRUCTOR Gone
ENDCLASS

METHOD Gone() CLASS TTmp
   cLog += "[" + ::cName + "]"
RETURN NIL
