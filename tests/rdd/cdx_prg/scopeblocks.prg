// Scopes given as code blocks are evaluated again by every movement and count.
PROCEDURE Main()
   LOCAL cLow := "program 02", cHigh := "program 03"
   USE PRODUCT
   INDEX ON LOWER(PRODUCT) TAG P
   ORDSCOPE(0, {|| cLow})
   ORDSCOPE(1, {|| cHigh})
   ? ORDKEYCOUNT()
   DBGOTOP()
   ? TRIM(PRODUCT)
   cLow := "program 03"
   DBGOTOP()
   ? TRIM(PRODUCT), ORDKEYCOUNT()
   ORDSCOPE(0, NIL)
   cHigh := "hotline"
   DBGOTOP()
   ? "[" + TRIM(PRODUCT) + "]", ORDKEYCOUNT()
RETURN
