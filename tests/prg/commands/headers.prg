// The customary constant headers.
#include "fileio.ch"
#include "dbstruct.ch"
#include "error.ch"
#include "set.ch"
#include "inkey.ch"
#include "common.ch"

PROCEDURE Main( xArg )
   LOCAL aStruct
   DEFAULT xArg TO "none"
   ? "default", xArg, ISNIL( NIL ), ISCHARACTER( xArg ), ISNUMBER( xArg )
   ? "fileio", FO_READWRITE + FO_SHARED, FS_END, F_ERROR
   DBCREATE( "t", { { "NAME", "C", 12, 0 } } )
   USE t
   aStruct := DBStruct()
   ? "dbstruct", aStruct[ 1, DBS_NAME ], aStruct[ 1, DBS_LEN ], DBS_ALEN
   ? "error", EG_ARG, EG_ZERODIV, EG_OPEN, ES_ERROR
   ? "set", Set( _SET_DATEFORMAT ) == Set( 4 ), _SET_DELETED, _SET_EXACT
   ? "inkey", K_ESC, K_ENTER, K_F2, K_CTRL_A, K_ALT_X
   ? "common", TRUE, NO
   RETURN
