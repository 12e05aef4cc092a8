// Memo text in lines: word wrap, words longer than the line, tabs, hard and soft returns.
PROCEDURE Main()
   LOCAL cText := "The quick brown fox jumps over the lazy dog"
   LOCAL cCrLf := Chr( 13 ) + Chr( 10 ), cSoft := Chr( 141 ) + Chr( 10 )
   LOCAL i, n
   n := MLCount( cText, 10 )
   ? n
   FOR i := 1 TO n
      ? "[" + MemoLine( cText, 10, i ) + "]", MLPos( cText, 10, i )
   NEXT
   ? "[" + MemoLine( cText, 10, n + 1 ) + "]", MLPos( cText, 10, n + 1 )
   // a word longer than the line is cut at the width
   ? MLCount( "abcdefghijklmnopqrstuvwxyz", 10 ), MemoLine( "abcdefghijklmnopqrstuvwxyz", 10, 3 ) + "|"
   ? MLCount( "short averyveryverylongword end", 10 )
   FOR i := 1 TO 4
      ? "[" + MemoLine( "short averyveryverylongword end", 10, i ) + "]"
   NEXT
   // tabs expand to stops of 4 (or the given size) and count toward the width
   ? "[" + MemoLine( Chr( 9 ) + "a" + Chr( 9 ) + "b", 12 ) + "]", "[" + MemoLine( Chr( 9 ) + "a", 12, 1, 2 ) + "]"
   ? MLCount( Chr( 9 ) + Chr( 9 ) + Chr( 9 ) + "word", 10 ), MLCount( Replicate( Chr( 9 ), 5 ), 10, 8 )
   // hard returns end lines, soft returns are dropped
   ? MLCount( "one" + cCrLf + "two" + cCrLf + cCrLf + "four", 20 ), MLCount( "x" + cCrLf, 20 ), MLCount( "", 20 )
   ? "[" + MemoLine( "one" + cCrLf + cCrLf + "three", 8, 2 ) + "]", MLPos( "one" + cCrLf + "two", 8, 2 )
   ? MLCount( "soft" + cSoft + "return", 20 ), "[" + MemoLine( "soft " + cSoft + "return", 20 ) + "]"
   ? MLCount( "lf" + Chr( 10 ) + "only", 20 )
   // without wrapping a line is cut and continues after the next hard return
   ? MLCount( cText, 10, 4, .F. ), "[" + MemoLine( cText + cCrLf + "next", 10, 2, 4, .F. ) + "]"
   // positions and line/column pairs
   ? MLCToPos( cText, 10, 2, 0 ), MLCToPos( cText, 10, 2, 3 ), MLCToPos( cText, 10, 9, 0 )
   ? MLCToPos( Chr( 9 ) + "ab", 10, 1, 5 )
   ? MPosToLC( cText, 10, 1 )[ 1 ], MPosToLC( cText, 10, 1 )[ 2 ], MPosToLC( cText, 10, 14 )[ 1 ], MPosToLC( cText, 10, 14 )[ 2 ]
   ? MPosToLC( Chr( 9 ) + "ab", 10, 2 )[ 2 ], MPosToLC( "", 10, 5 )[ 1 ]
   // default width 79
   ? MLCount( Replicate( "x", 158 ) ), Len( MemoLine( "x" ) )
   ShowError( {|| MemoLine( 5 ) } )
   ShowError( {|| MLCount( "a", "10" ) } )
   ShowError( {|| MLPos( "a", 10, "1" ) } )
   ShowError( {|| MLCToPos( "a", 10, 1, 0, 4, "yes" ) } )
   ShowError( {|| MPosToLC() } )
RETURN

PROCEDURE ShowError( b )
   LOCAL e
   TRY
      Eval( b )
      ? "no error"
   CATCH e
      ? e:SubSystem, e:GenCode, e:SubCode, e:Operation, Len( e:Args )
   END
RETURN
