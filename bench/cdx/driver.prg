// The DBFCDX driver on a generated PRODUCT table: creating the application's three tags,
// walking an order with DBSKIP, 100,000 DBSEEKs of random keys, and appending 100,000
// records one by one to the indexed table in exclusive use. Prints one line per figure.
PROCEDURE Main(cTable)
   LOCAL t, n := 0, i, nFound := 0, aKeys := ARRAY(100000), nRecords
   USE (cTable) EXCLUSIVE
   nRecords := RECCOUNT()
   t := SECONDS()
   ORDCREATE(, "EXCEL1", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
   ORDCREATE(, "EXCEL2", "LOWER(CUSTOMER) + INVOICE", {|| LOWER(CUSTOMER) + INVOICE}, .F.)
   ORDCREATE(, "EXCEL3", "LOWER(PRODUCT)", {|| LOWER(PRODUCT)}, .F.)
   Figure("create 3 tags", t)
   DBSETORDER(2)
   t := SECONDS()
   DBGOTOP()
   DO WHILE !EOF()
      n++
      DBSKIP()
   ENDDO
   Figure("walk order 2 (" + LTRIM(STR(n)) + " keys)", t)
   DBSETORDER(1)
   FOR i := 1 TO 100000
      DBGOTO(Rand(nRecords))
      aKeys[i] := STR(ID_NR)
   NEXT
   t := SECONDS()
   FOR i := 1 TO 100000
      IF DBSEEK(aKeys[i])
         nFound++
      ENDIF
   NEXT
   Figure("100,000 DBSEEKs (" + LTRIM(STR(nFound)) + " found)", t)
   t := SECONDS()
   FOR i := 1 TO 100000
      DBAPPEND()
      FIELDPUT(1, 90000000 + i)
      FIELDPUT(2, "Customer " + STR(i % 1000, 4))
      FIELDPUT(3, "Product " + STR(i % 97, 2))
      FIELDPUT(4, "N" + STR(i, 9))
   NEXT
   DBCOMMIT()
   Figure("append 100,000 records, 3 tags", t)
   ? "check", CDXCHECK() == "", ORDKEYCOUNT() == RECCOUNT()
   ?
RETURN

PROCEDURE Figure(cWhat, t)
   ? PADR(cWhat, 40), STR(SECONDS() - t, 8, 3), "s"
RETURN

FUNCTION Rand(nMax)
   STATIC nSeed := 12345
   nSeed := (nSeed * 16807) % 2147483647
RETURN INT(nSeed % nMax) + 1
