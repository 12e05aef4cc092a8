#include "rules.ch"
#command BOX <x> [WIDTH <w>] [HEIGHT <h>] [<f:FILLED>] => Box(<x>, <w>, <h>, <.f.>)
#xcommand LINK [TO <k1> INTO <(a1)> [, [TO] <kN> INTO <(aN)>]] => L(<(a1)>, <{k1}>) [; L(<(aN)>, <{kN}>)]
#translate HALF(<x>) => ((<x>) / 2)
#command MEMO <*t*> => M(#<t>, <"t">)
#uncommand MEMO <*t*>
PROCEDURE Main()
   LOCAL a, b, n := 0
   SHOW a, b + 1 TO out.txt OFF
   SETALL a TO 1, b TO TWICE(HALF(4))
   BOX a HEIGHT 2 FILLED WIDTH 3
   LINK TO id INTO b, no INTO c
   ? NAMEOF(a + b)
   SUM AGE TO n FOR CITY = "x" WHILE AGE < 3 NEXT 2
   REPLACE ALL NAME WITH "x" FOR AGE > 1
   COPY TO (n) FIELDS a, b FOR .T. REST
   SET RELATION TO id INTO b, TO no INTO c ADDITIVE
   RETURN
