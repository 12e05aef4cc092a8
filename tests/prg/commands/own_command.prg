// A program's own commands and translations, and one that overrides a standard command.
#command GREET <who,...> [<loud:LOUD>] => SayHello( { <(who)> }, <.loud.> )
#xcommand TWICE <stmt> => <stmt> ; <stmt>
#translate PERCENT(<part>, <whole>) => Round( 100 * (<part>) / (<whole>), 1 )
#xtranslate SQUARE(<x>) => ( (<x>) * (<x>) )
#command COUNT TO <v> ONLY <w> => <v> := <w>

PROCEDURE Main()
   LOCAL n := 0
   GREET Anna, Bernd
   GREET (Upper( "clara" )) LOUD
   TWICE n++
   ? "twice", n
   ? "percent", PERCENT( 1, 8 ), SQUARE( 2 + 1 )
   COUNT TO n ONLY 42
   ? "own count", n
   RETURN

STATIC PROCEDURE SayHello( aWho, lLoud )
   LOCAL c
   FOR EACH c IN aWho
      ? "Hello " + IIF( lLoud, Upper( c ), c )
   NEXT
   RETURN
