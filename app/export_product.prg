// The product overview: for every product of PRODUCT, in the order of the product, its
// records' amount and customer and the product's total. Saved as Product.xls in the program
// folder.
#include "xlforms.ch"

MEMVAR C_PFAD

FUNCTION DATA3EXCEL( oMeter, nTotal, oText, lEnd )
   LOCAL aColumns := { { "IPRODUCT", 20, "@", XL_LEFT }, { "VALUE", 10, "@", XL_RIGHT }, ;
                       { "CUSTOMER", 30, "@", XL_LEFT } }
   LOCAL aXls := XlsBegin( aColumns, oMeter, nTotal, oText )
   LOCAL oSheet := aXls[ 3 ]
   LOCAL nPos := 1, nRow, nFirst, nValue, cProduct, n
   LOCAL oProduct, oAmount  // the cell of the current row that gets more than its value

   XlsTitle( oSheet, "Product-Overview", "A1:C1" )
   XlsHeadings( oSheet, "A3:C3", { "Product", "Betrag", "Kunde" } )
   FOR n := 1 TO 3
      oSheet:Cells( 3, n ):HorizontalAlignment := XL_CENTER
   NEXT
   nRow := 3
   cProduct := FIELD->PRODUCT
   // Cancel is looked at between products only.
   DO WHILE ! Eof() .AND. ! lEnd
      nRow++
      nValue := 0
      nFirst := nRow
      oText:SetText( LTrim( OemToAnsi( FIELD->PRODUCT ) ) )
      oProduct := oSheet:Cells( nRow, 1 )
      oProduct:Select()
      XlsRedBold( oProduct )
      oProduct:Value := Trim( OemToAnsi( FIELD->PRODUCT ) )
      // Same-width fields: equal exactly when equal but for trailing blanks.
      DO WHILE ! Eof() .AND. FIELD->PRODUCT == cProduct
         oSheet:Cells( nRow, 2 ):Value := Str( FIELD->VALUE )
         oSheet:Cells( nRow, 3 ):Value := Space( 5 ) + OemToAnsi( FIELD->CUSTOMER )
         nValue += FIELD->VALUE
         DbSelectArea( 1 )
         DbSkip( 1 )
         nPos++
         nRow++
         XlsProgress( oMeter, nPos, oText, LTrim( OemToAnsi( FIELD->PRODUCT ) ) )
      ENDDO
      XlsBlue( oSheet, "B", "C", nFirst, nRow - 1 )
      oAmount := oSheet:Cells( nRow, 2 )
      XlsRedBold( oAmount )
      oAmount:Value := Str( nValue )
      nRow++
      cProduct := FIELD->PRODUCT
   ENDDO
   XlsFinish( aXls, lEnd, C_PFAD + "\Product.xls" )
RETURN NIL
