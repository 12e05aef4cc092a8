// The bytes of in-memory dialog templates: CDLG2CHR's header with its style rules and title,
// CCTRL2CHR's item padded to four bytes.
PROCEDURE Main()
   ? Hex( CDlg2Chr( 3, 10, 20, 110, 220, "Ab", 0x80C80080 ) )
   ? Hex( CDlg2Chr( 0, 0, 0, 9, 9, "", 2 ) )
   ? Hex( CDlg2Chr( 0, 0, 0, 9, 9, "", 0x10000000 ) )
   ? Hex( CCtrl2Chr( 5, 6, 25, 66, 101, 0x50010000, "BUTTON", "&OK" ) )
   ? Len( CCtrl2Chr( 0, 0, 1, 1, 7, 0, "AB", "" ) ), Len( CCtrl2Chr( 0, 0, 1, 1, 7, 0, "ABC", "" ) )
RETURN

STATIC FUNCTION Hex( cBytes )
   LOCAL cHex := "", i
   FOR i := 1 TO Len( cBytes )
      cHex += SubStr( "0123456789ABCDEF", Int( Asc( SubStr( cBytes, i, 1 ) ) / 16 ) + 1, 1 ) + ;
              SubStr( "0123456789ABCDEF", Asc( SubStr( cBytes, i, 1 ) ) % 16 + 1, 1 )
   NEXT
RETURN cHex
