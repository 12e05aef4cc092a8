// A library module: no start candidate.
FUNCTION Twice( n )
   RETURN n * 2

CLASS TPoint
   DATA nX INIT 0
   METHOD Move( n ) INLINE ::nX += n
ENDCLASS
