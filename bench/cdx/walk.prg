// The invoice export's table work without the spreadsheet: a PRODUCT table opened SHARED (or
// EXCLUSIVE) with its production CDX, walked in the order of customer and invoice, reading
// five fields of every record. "tags" creates the three tags first; "csv" writes the rows for
// SQLite to walk the same order. Usage: walk.prg TABLE tags|shared|exclusive|csv [OUT]
PROCEDURE Main(cTable, cMode, cOut)
   LOCAL t, n := 0, nSum := 0, nLen := 0, h
   IF cMode == "tags"
      USE (cTable) EXCLUSIVE
      ORDCREATE(, "EXCEL1", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
      ORDCREATE(, "EXCEL2", "LOWER(CUSTOMER) + INVOICE", {|| LOWER(CUSTOMER) + INVOICE}, .F.)
      ORDCREATE(, "EXCEL3", "LOWER(PRODUCT)", {|| LOWER(PRODUCT)}, .F.)
      RETURN
   ENDIF
   IF cMode == "csv"
      h := FCREATE(cOut)
      USE (cTable) READONLY
      DO WHILE !EOF()
         FWRITE(h, STR(ID_NR) + "|" + TRIM(CUSTOMER) + "|" + INVOICE + "|" + TRIM(PRODUCT) + ;
                "|" + STR(VALUE) + CHR(10))
         DBSKIP()
      ENDDO
      FCLOSE(h)
      RETURN
   ENDIF
   IF cMode == "shared"
      USE (cTable) SHARED
   ELSE
      USE (cTable) EXCLUSIVE
   ENDIF
   DBSETORDER(2)
   t := SECONDS()
   DBGOTOP()
   DO WHILE !EOF()
      nSum += FIELD->ID_NR + FIELD->VALUE
      nLen += LEN(FIELD->CUSTOMER) + LEN(FIELD->INVOICE) + LEN(FIELD->PRODUCT)
      n++
      DBSKIP(1)
   ENDDO
   ? PADR("walk order 2, " + cMode + " (" + LTRIM(STR(n)) + " records)", 44), ;
     STR(SECONDS() - t, 8, 3), "s"
RETURN
