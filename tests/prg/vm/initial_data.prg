// New objects get the initial values their class holds when they are made: values given at the
// class's creation, a data message added later with its value, a value replaced, and a child
// class made after its parent changed.
PROCEDURE Main()
   LOCAL o1 := TBox():New(), h := o1:ClassH, o2, o3, c
   ? o1:nA, o1:cB, Len( o1:aList ), o1:cTag
   o1:aList[ 1 ] := "changed"
   __ClsAddMsg( h, "XNEW", 5, 1, "added", 1 )
   o2 := TBox():New()
   ? o2:nA, o2:cB, o2:aList[ 1 ], o2:xNew, o2:cTag
   __ClsAddMsg( h, "NA", 1, 1, 99, 1 )
   o3 := TBox():New()
   ? o3:nA, o3:xNew, o1:nA, o2:nA
   c := TBoxChild():New()
   ? c:nA, c:xNew, c:nOwn, c:cTag
RETURN

CLASS TBox
   DATA nA INIT 1
   DATA cB
   DATA aList INIT { "first", "second" }
   DATA cTag INIT "box"
   METHOD New() INLINE Self
ENDCLASS

CLASS TBoxChild FROM TBox
   DATA nOwn INIT 5
   DATA cTag INIT "child"
ENDCLASS
