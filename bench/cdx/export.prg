// Writes the keys of the benchmark table's three tags, one record a line ("k1|k2|k3"), for
// SQLite to load the same rows.
PROCEDURE Main(cTable, cOut)
   LOCAL h := FCREATE(cOut)
   USE (cTable) READONLY
   DO WHILE !EOF()
      FWRITE(h, STR(ID_NR) + "|" + LOWER(CUSTOMER) + INVOICE + "|" + LOWER(PRODUCT) + CHR(10))
      DBSKIP()
   ENDDO
   FCLOSE(h)
RETURN
