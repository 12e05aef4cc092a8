// Compound assignments and ++/-- on locals, statics, memory variables, array and hash elements,
// instance variables (sent twice), dates and texts.
STATIC s := 10
MEMVAR m
PROCEDURE Main()
   LOCAL a := { 1, "a", 0d20240101 }, h := { "k" => 5 }, d := 0d20240131, c := "x", n := 7, e := ErrorNew()
   PRIVATE m := 2
   a[ 1 ] += 5 ; a[ 2 ] += "b" ; a[ 3 ] += 1
   ? a[ 1 ], a[ 2 ], a[ 3 ]
   a[ 1 ] -= 1 ; a[ 1 ] *= 3 ; a[ 1 ] /= 5 ; a[ 1 ] %= 2 ; a[ 1 ] ^= 2
   ? a[ 1 ]
   h[ "k" ] *= 4 ; h[ "new" ] := 1
   ? h[ "k" ], Len( h ), h[ "new" ]
   d++ ; ? d
   d -= 31 ; ? d
   c += "y"
   ? c
   s ^= 2 ; s %= 7
   ? s
   m **= 3 ; m /= 4
   ? m
   n %= 4 ; n -= -1
   ? n
   e:Cargo := 1 ; e:Cargo += 41
   ? e:Cargo, e:Cargo++, e:Cargo, ++e:Cargo
   ? a[ 1 ]++, a[ 1 ], --a[ 1 ]
RETURN
