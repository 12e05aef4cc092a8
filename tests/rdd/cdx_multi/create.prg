// Creates the shared table from PRODUCT.DBF's structure with the application's three tags.
PROCEDURE Main()
   USE PRODUCT
   DBCREATE("shared", DBSTRUCT())
   DBCLOSEAREA()
   USE shared EXCLUSIVE
   ORDCREATE(, "ID", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
   ORDCREATE(, "CUSTOMER", "LOWER(CUSTOMER) + INVOICE", {|| LOWER(CUSTOMER) + INVOICE}, .F.)
   ORDCREATE(, "PRODUCT", "LOWER(PRODUCT)", {|| LOWER(PRODUCT)}, .F.)
   DBCLOSEAREA()
RETURN
