// Walks a PRODUCT table through the DBF driver, reading all six fields of every record by name.
PROCEDURE Main(cFile)
   LOCAL nStart := SECONDS(), nCount := 0, nSum := 0, nLen := 0, dLast
   DBUSEAREA(.T., "DBF", cFile, "PRODUCT", .F., .T.)
   DO WHILE !EOF()
      nSum += PRODUCT->ID_NR + PRODUCT->VALUE
      nLen += LEN(PRODUCT->CUSTOMER) + LEN(PRODUCT->PRODUCT) + LEN(PRODUCT->INVOICE)
      dLast := PRODUCT->INV_DATE
      nCount++
      DBSKIP()
   ENDDO
   ? "pvrun scan (DBF driver, fields by name)", nCount, "records:", SECONDS() - nStart, "s"
RETURN
