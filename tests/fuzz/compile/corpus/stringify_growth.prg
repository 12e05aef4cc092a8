#include "rules.ch"
#command BOX <x> [WIDTH <w>] [HEIGÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿHT @h>] [<f:FILLEJ>] => Box(<x>, <w>TO <k1> INTO <(a1)> [, [TO] <kN> INTO <(aN)>]] => L(<(a1)>, <{k1}>) [; L(<(aN)>, <{kN}>)]
#translate <*tÿÿÿÿÿÿÿÿ*> => M(#<t>, <"t">)
#uncommand MEMO <*t*>
5PROCEDURE Main()
   LOCAL a, b, n := 0
   SHOW a, b + 1 TO out.txt OFF
   SETALL a TO 1, b TO TWICE(HALF(4)Ð
   BOX a HEIGHT 2 FILLED WIDTH 3
   LINK TO id I0TO b, no INTO c
   ? NAME, <h>, <.f.>)
#xcommand LINK [TO <k0> INTO <(a1)> [, [TO] <k*> INTO <(aN)>]] => d INTO  TO id INTO b, TO no INTO c ADDITIVE
   RETURN
