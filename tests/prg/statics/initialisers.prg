// Static initialisers of every kind: constant expressions, hashes, blocks, dates, logicals,
// negative numbers; procedure statics holding arrays and shared with returned blocks.
STATIC s_n := 2 * 3 + 1, s_h := { "a" => 1 }, s_b := {| x | x + 100 }, s_c := "abc" + "def"
STATIC s_d := 0d20240101, s_l := .T., s_neg := -5
PROCEDURE Main()
   ? s_n, s_h[ "a" ], Eval( s_b, 1 ), s_c, s_d, s_l, s_neg
   ? Counter(), Counter(), Eval( Gen() ), Eval( Gen() )
RETURN
FUNCTION Counter()
   STATIC n := 0, a := {}
   AAdd( a, n )
n++
RETURN n + Len( a ) * 100
FUNCTION Gen()
   STATIC k := 0
RETURN {|| k += 10 }
