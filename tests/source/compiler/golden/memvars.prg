// Memory variables, fields, statics and the static initialiser, INIT and EXIT procedures.
#define START 100
MEMVAR gShared
FIELD fName, fValue IN prod
STATIC s_nCount := START, s_aList[ 3 ]

INIT PROCEDURE Boot()
   PUBLIC gShared := "on", gOther
   RETURN

FUNCTION Vars()
   STATIC s_nCalls := 0
   PARAMETERS pA, pB
   PRIVATE cLocal := pA, aGrid[ 2, 2 ]
   MEMVAR mDeclared
   FIELD fOwn
   s_nCalls++
   s_nCount += s_nCalls
   mDeclared := fName + fValue + fOwn + gShared
   undeclared := M->mDeclared + MEMVAR->other + FIELD->fOther
   fName := 1
   fValue := 2
   RETURN s_aList

EXIT PROCEDURE Bye()
   ? s_nCount
   RETURN
