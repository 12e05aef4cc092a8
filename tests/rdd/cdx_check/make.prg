// Builds the application's three tags on PRODUCT.DBF for the checker test.
PROCEDURE Main()
   USE PRODUCT
   ORDCREATE(, "EXCEL1", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
   ORDCREATE(, "EXCEL2", "LOWER(CUSTOMER) + INVOICE", {|| LOWER(CUSTOMER) + INVOICE}, .F.)
   ORDCREATE(, "EXCEL3", "LOWER(PRODUCT)", {|| LOWER(PRODUCT)}, .F.)
RETURN
