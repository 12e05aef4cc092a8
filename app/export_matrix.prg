// The matrix export: one row per invoice number of PRODUCT, in the order of its number, marking
// which of the ten products "Program 01" ... "Program 10" it carries, and below the rows how
// many records carried each product. Saved as Matrix.xls in the program folder.
#include "xlforms.ch"

MEMVAR C_PFAD

FUNCTION DATA1EXC( oMeter, nTotal, oText, lEnd )
   LOCAL aColumns := { { "ID_NR", 5, "@", XL_CENTER }, { "CUSTOMER", 12, "@", XL_LEFT }, ;
                       { "PRODUCT", 10, "@", XL_LEFT } }
   LOCAL aProducts := { "Program 01", "Program 02", "Program 03", "Program 04", "Program 05", ;
                        "Program 06", "Program 07", "Program 08", "Program 09", "Program 10" }
   LOCAL aCounts := { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }
   LOCAL aXls := XlsBegin( aColumns, oMeter, nTotal, oText )
   LOCAL oSheet := aXls[ 3 ]
   LOCAL nPos := 1, nRow, nGroup, cProduct, k

   XlsTitle( oSheet, "Matrix-Sample", "A1:D1" )
   XlsHeadings( oSheet, "A3:L3", { "ID-NR", "Kunde", "Produkt 01", "Produkt 02", "Produkt 03", ;
      "Produkt 04", "Produkt 05", "Produkt 06", "Produkt 07", "Produkt 08", "Produkt 09", ;
      "Produkt 10" } )
   nRow := 3
   nGroup := FIELD->ID_NR
   // Cancel is looked at between invoice numbers only: a group once begun is finished.
   DO WHILE ! Eof() .AND. ! lEnd
      nRow++
      oSheet:Cells( nRow, 1 ):Value := FIELD->ID_NR
      oSheet:Cells( nRow, 2 ):Value := Trim( OemToAnsi( FIELD->CUSTOMER ) )
      DO WHILE ! Eof() .AND. FIELD->ID_NR == nGroup
         cProduct := Trim( FIELD->PRODUCT )
         FOR k := 1 TO 10
            IF cProduct == aProducts[ k ]
               oSheet:Cells( nRow, 2 + k ):Value := cProduct
               aCounts[ k ]++
            ENDIF
         NEXT
         DbSkip( 1 )
         nPos++
         XlsProgress( oMeter, nPos, oText, LTrim( OemToAnsi( FIELD->CUSTOMER ) ) )
      ENDDO
      nGroup := FIELD->ID_NR
      XlsRedBold( oSheet:Cells( nRow, 1 ) )
      XlsRedBold( oSheet:Cells( nRow, 2 ) )
      oSheet:Cells( nRow, 1 ):Select()
   ENDDO
   nRow += 2
   FOR k := 3 TO 12
      oSheet:Cells( nRow, k ):Font:Size := 12
      oSheet:Cells( nRow, k ):Font:Bold := .T.
      oSheet:Cells( nRow, k ):Font:Color := CLR_RED
   NEXT
   oSheet:Cells( nRow, 2 ):Font:Bold := .T.
   oSheet:Cells( nRow, 2 ):Font:Size := 12
   oSheet:Cells( nRow, 2 ):Value := "Sold : "
   FOR k := 1 TO 10
      oSheet:Cells( nRow, 2 + k ):Value := aCounts[ k ]
   NEXT
   XlsFinish( aXls, lEnd, C_PFAD + "\Matrix.xls" )
RETURN NIL
