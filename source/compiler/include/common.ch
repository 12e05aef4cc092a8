/* common.ch: everyday helpers: truth constants, type tests, and DEFAULT ... TO for parameters. */
#ifndef _COMMON_CH
#define _COMMON_CH

#define TRUE  .T.
#define FALSE .F.
#define YES   .T.
#define NO    .F.

/* type tests */
#xtranslate ISNIL( <v> )       => ( <v> == NIL )
#xtranslate ISARRAY( <v> )     => ( VALTYPE( <v> ) == "A" )
#xtranslate ISBLOCK( <v> )     => ( VALTYPE( <v> ) == "B" )
#xtranslate ISCHARACTER( <v> ) => ( VALTYPE( <v> ) == "C" )
#xtranslate ISDATE( <v> )      => ( VALTYPE( <v> ) == "D" )
#xtranslate ISLOGICAL( <v> )   => ( VALTYPE( <v> ) == "L" )
#xtranslate ISMEMO( <v> )      => ( VALTYPE( <v> ) == "M" )
#xtranslate ISNUMBER( <v> )    => ( VALTYPE( <v> ) == "N" )
#xtranslate ISOBJECT( <v> )    => ( VALTYPE( <v> ) == "O" )

/* DEFAULT x TO value [, y TO value]: gives parameters that were left out their value */
#xcommand DEFAULT <v1> TO <x1> [, <vN> TO <xN>] ;
      => IF <v1> == NIL ; <v1> := <x1> ; END ;
         [; IF <vN> == NIL ; <vN> := <xN> ; END]

/* UPDATE v IF cond TO value */
#command UPDATE <v> IF <cond> TO <value> => IF <cond> ; <v> := <value> ; END

#endif
