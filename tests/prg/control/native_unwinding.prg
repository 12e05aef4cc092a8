// BREAK and errors unwind through runtime functions that evaluate blocks (AEVAL, ASORT, EVAL).
PROCEDURE Main()
   LOCAL v, e, a := { 3, 1, 2 }
   BEGIN SEQUENCE
      AEval( { 1, 2 }, {| x | Break( x * 10 ) } )
   RECOVER USING v
      ? "aeval break", v
   END SEQUENCE
   TRY
      ASort( a,,, {| x, y | x < "zz" } )
   CATCH e
      ? "asort error", e:SubCode
   END
   ? "sorted after", ASort( a )[ 1 ]
   BEGIN SEQUENCE
      Eval( {|| Eval( {|| Break( "deep block" ) } ) } )
   RECOVER USING v
      ? "nested eval", v
   END SEQUENCE
   ? "scan", AScan( { 5, 6, 7 }, {| x | x == 6 } ), AScan( { "ab", "abc" }, "abc" )
RETURN
