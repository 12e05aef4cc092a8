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
   LOCAL nPos := 1, nRow, nFirst, nValue, nAmount, cProduct, cNext, cText, n
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
      // The progress line names the next record's product: the group's own text until it changes.
      cNext := cProduct
      cText := LTrim( OemToAnsi( cProduct ) )
      DO WHILE ! Eof() .AND. cNext == cProduct
         nAmount := FIELD->VALUE
         oSheet:Cells( nRow, 2 ):Value := Str( nAmount )
         oSheet:Cells( nRow, 3 ):Value := Space( 5 ) + OemToAnsi( FIELD->CUSTOMER )
         nValue += nAmount
         DbSelectArea( 1 )
         DbSkip( 1 )
         nPos++
         nRow++
         cNext := FIELD->PRODUCT
         IF !( cNext == cProduct )
            cText := LTrim( OemToAnsi( cNext ) )
         ENDIF
         XlsProgress( oMeter, nPos, oText, cText )
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
