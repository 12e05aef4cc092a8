// xlforms start-up: the process settings, the program folder, the two invoice tables with their
// index tags, the application's state variables and the data font; then the main dialog runs
// until the user closes it, and every table is closed.
#include "xlforms.ch"

MEMVAR C_DIR, C_PFAD, CDATNAME1, XXX, LGESENDE, NTEST, NTOTAL, OCLP

PROCEDURE Main()
   LOCAL oFont, oFontBold
   PRIVATE C_DIR, C_PFAD, CDATNAME1, XXX, LGESENDE, NTEST, NTOTAL, OCLP

   ApplySettings()
   C_DIR := ProgramPath()
   C_PFAD := ProgramFolder( C_DIR )
   RddSetDefault( "DBFCDX" )
   CDATNAME1 := " "
   XXX := " "
   LGESENDE := .F.
   NTEST := 1
   oFontBold := TFont():New( "Arial", 0, -14, , .T. )
   oFont := TFont():New( "Arial", 0, -14 )
   OpenInvoiceTable( 1, "PRODUCT.DBF", { "EXCEL1", "EXCEL2", "EXCEL3" } )
   OpenInvoiceTable( 2, "PRODUCT1.DBF", { "ID", "CUSTOMER", "PRODUCT" } )
   MainDialog( oFont )
   DbCloseAll()
   oFont:End()
   oFontBold:End()
RETURN

// Dates as dd.mm.yyyy, exact comparisons, two fixed decimals, shared opens.
STATIC PROCEDURE ApplySettings()
   Set( 4, IIf( __SetCentury(), "dd.mm.yyyy", "dd.mm.yy" ) )   // date format
   Set( 5, 2000 )                                             // epoch
   Set( 32, .F. )                                             // scoreboard
   Set( 9, .T. )                                              // soft seek
   __SetCentury( .T. )
   Set( 1, .T. )                                              // exact
   Set( 2, .T. )                                              // fixed
   Set( 3, 2 )                                                // decimals
   SetHandleCount( 95 )
   Set( 8, .F. )                                              // exclusive
RETURN

// Opens a table shared in work area nArea with the default driver and rebuilds its three tags
// in the structural index: by number, by customer and invoice, by product.
STATIC PROCEDURE OpenInvoiceTable( nArea, cFile, aTags )
   DbSelectArea( nArea )
   DbUseArea( .F., NIL, cFile, NIL, NIL, .F. )
   OrdCreate( NIL, aTags[ 1 ], "STR(ID_NR)", {|| Str( FIELD->ID_NR ) }, .F. )
   OrdCreate( NIL, aTags[ 2 ], "LOWER(CUSTOMER) + INVOICE ", {|| Lower( FIELD->CUSTOMER ) + FIELD->INVOICE }, .F. )
   OrdCreate( NIL, aTags[ 3 ], "LOWER(PRODUCT)", {|| Lower( FIELD->PRODUCT ) }, .F. )
RETURN
