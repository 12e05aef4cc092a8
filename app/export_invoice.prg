// The invoice overview: for every customer of PRODUCT, in the order of customer and invoice,
// its records' invoice, product and amount and the customer's total. Saved as Rechnung.xls in
// the program folder.
#include "xlforms.ch"

MEMVAR C_PFAD

FUNCTION DATA2EXCEL( oMeter, nTotal, oText, lEnd )
   LOCAL aColumns := { { "ID_NR", 5, "@", XL_CENTER }, { "CUSTOMER", 12, "@", XL_LEFT }, ;
                       { "INVOICE", 12, "@", XL_LEFT }, { "PRODUCT", 10, "@", XL_LEFT }, ;
                       { "VALUE", 10, "@", XL_RIGHT } }
   LOCAL aXls := XlsBegin( aColumns, oMeter, nTotal, oText )
   LOCAL oSheet := aXls[ 3 ]
   LOCAL nPos := 1, nRow, nFirst, nValue, nAmount, cCustomer, cNext, cText
   LOCAL oId, oCustomer, oAmount  // the cells of the current row that get more than their value

   XlsTitle( oSheet, "Invoice-Overview", "A1:E1" )
   XlsHeadings( oSheet, "A3:E3", { "ID-No", "Kunde", "Rechnung", "Produkt", "Betrag" } )
   nRow := 3
   cCustomer := FIELD->CUSTOMER
   // Cancel is looked at between customers only.
   DO WHILE ! Eof() .AND. ! lEnd
      nRow++
      nValue := 0
      nFirst := nRow
      oText:SetText( LTrim( OemToAnsi( FIELD->CUSTOMER ) ) )
      oId := oSheet:Cells( nRow, 1 )
      oCustomer := oSheet:Cells( nRow, 2 )
      oId:Select()
      XlsRedBold( oId )
      XlsRedBold( oCustomer )
      oId:Value := FIELD->ID_NR
      oCustomer:Value := Trim( OemToAnsi( FIELD->CUSTOMER ) )
      // Same-width fields: equal exactly when equal but for trailing blanks.
      // The progress line names the next record's customer: the group's own text until it changes.
      cNext := cCustomer
      cText := LTrim( OemToAnsi( cCustomer ) )
      DO WHILE ! Eof() .AND. cNext == cCustomer
         nAmount := FIELD->VALUE
         oSheet:Cells( nRow, 3 ):Value := OemToAnsi( FIELD->INVOICE )
         oSheet:Cells( nRow, 4 ):Value := OemToAnsi( FIELD->PRODUCT )
         oSheet:Cells( nRow, 5 ):Value := Str( nAmount )
         nValue += nAmount
         DbSelectArea( 1 )
         DbSkip( 1 )
         nPos++
         nRow++
         cNext := FIELD->CUSTOMER
         IF !( cNext == cCustomer )
            cText := LTrim( OemToAnsi( cNext ) )
         ENDIF
         XlsProgress( oMeter, nPos, oText, cText )
      ENDDO
      XlsBlue( oSheet, "C", "E", nFirst, nRow - 1 )
      oAmount := oSheet:Cells( nRow, 5 )
      XlsRedBold( oAmount )
      oAmount:Value := Str( nValue )
      nRow++
      cCustomer := FIELD->CUSTOMER
   ENDDO
   XlsFinish( aXls, lEnd, C_PFAD + "\Rechnung.xls" )
RETURN NIL
