// The browse grid over an array: the navigation blocks that walk the rows of aArrayData with
// nArrayAt as the current row, and columns for the elements of the rows. A grid over an empty
// array shows no rows; rows that are not arrays show as one column.
#include "xbrowse.ch"

// Sets every navigation block of oBrw over its aArrayData and, when lAddColumns and the grid
// has no columns (or only those an earlier array made), adds one column per element of the
// first row.
PROCEDURE XBrwBindArray( oBrw, lAddColumns )
   LOCAL n
   oBrw:nArrayAt := Min( 1, Len( oBrw:aArrayData ) )
   oBrw:bGoTop := {|| oBrw:nArrayAt := Min( 1, Len( oBrw:aArrayData ) ) }
   oBrw:bGoBottom := {|| oBrw:nArrayAt := Len( oBrw:aArrayData ) }
   oBrw:bSkip := {| n | XBrwArraySkip( oBrw, n ) }
   oBrw:bBof := {|| Empty( oBrw:aArrayData ) }
   oBrw:bEof := {|| Empty( oBrw:aArrayData ) }
   oBrw:bKeyNo := {| n | IIf( n == NIL, oBrw:nArrayAt, XBrwArrayGoto( oBrw, n ) ) }
   oBrw:bBookMark := oBrw:bKeyNo
   oBrw:bKeyCount := {|| Len( oBrw:aArrayData ) }
   oBrw:bSeek := NIL
   IF lAddColumns .AND. ( Empty( oBrw:aCols ) .OR. oBrw:lArrayCols )
      // columns an earlier array made go: the new rows may have another shape and widths
      AEval( oBrw:aCols, {| o | o:End() } )
      oBrw:aCols := {}
      oBrw:lArrayCols := .T.
      FOR n := 1 TO IIf( Empty( oBrw:aArrayData ) .OR. ValType( oBrw:aArrayData[ 1 ] ) != "A", 1, ;
                         Len( oBrw:aArrayData[ 1 ] ) )
         XBrwElementColumn( oBrw:AddCol(), oBrw, n )
      NEXT
   ENDIF
RETURN

// Moves up to n rows (default 1) without leaving the array; returns the rows moved.
FUNCTION XBrwArraySkip( oBrw, n )
   LOCAL nFrom := oBrw:nArrayAt
   IF Empty( oBrw:aArrayData )
      RETURN 0
   ENDIF
   oBrw:nArrayAt := Max( 1, Min( nFrom + IIf( n == NIL, 1, n ), Len( oBrw:aArrayData ) ) )
RETURN oBrw:nArrayAt - nFrom

// Makes row n (kept inside the array) the current one.
FUNCTION XBrwArrayGoto( oBrw, n )
   oBrw:nArrayAt := Max( Min( 1, Len( oBrw:aArrayData ) ), Min( n, Len( oBrw:aArrayData ) ) )
RETURN oBrw:nArrayAt

// Makes oCol show element n of the current row, titled with the element's number.
STATIC PROCEDURE XBrwElementColumn( oCol, oBrw, n )
   oCol:cHeader := LTrim( Str( n ) )
   oCol:bStrData := {|| XBrwValueText( XBrwArrayCell( oBrw, n ) ) }
RETURN

// Element n of the current row (the row itself when it is not an array), NIL outside the data.
FUNCTION XBrwArrayCell( oBrw, n )
   LOCAL xRow
   IF oBrw:nArrayAt < 1 .OR. oBrw:nArrayAt > Len( oBrw:aArrayData )
      RETURN NIL
   ENDIF
   xRow := oBrw:aArrayData[ oBrw:nArrayAt ]
   IF ValType( xRow ) != "A"
      RETURN xRow
   ENDIF
RETURN IIf( n >= 1 .AND. n <= Len( xRow ), xRow[ n ], NIL )
