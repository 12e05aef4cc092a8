// The browse grid over a work area: DBSKIPPER, and the navigation blocks (with the default
// incremental search) and field columns that bind a grid to an alias. Every block acts on the
// area of that alias whatever area is current when it runs, and answers as an empty table when
// the alias is no longer open.

// Skips up to nRecs records (default 1) without passing the first or the last record and
// returns the number of records actually moved (negative backwards).
FUNCTION DbSkipper( nRecs )
   LOCAL nSkipped := 0
   IF nRecs == NIL
      nRecs := 1
   ENDIF
   IF nRecs == 0
      DbSkip( 0 )
   ELSEIF nRecs > 0
      IF !Eof()
         DO WHILE nSkipped < nRecs
            DbSkip( 1 )
            IF Eof()
               DbSkip( -1 )
               EXIT
            ENDIF
            nSkipped++
         ENDDO
      ENDIF
   ELSE
      DO WHILE nSkipped > nRecs
         DbSkip( -1 )
         IF Bof()
            EXIT
         ENDIF
         nSkipped--
      ENDDO
   ENDIF
RETURN nSkipped

// Evaluates bAction( xArg ) with the alias's area selected; xClosed when the alias is not open.
FUNCTION XBrwInArea( cAlias, bAction, xArg, xClosed )
   LOCAL nArea := Select( cAlias ), nCurrent, xResult
   IF nArea == 0
      RETURN xClosed
   ENDIF
   nCurrent := Select()
   IF nCurrent == nArea
      RETURN Eval( bAction, xArg )
   ENDIF
   DbSelectArea( nArea )
   xResult := Eval( bAction, xArg )
   DbSelectArea( nCurrent )
RETURN xResult

// Sets every navigation block of oBrw that is not set yet to act on cAlias and, when lAddColumns
// and the grid has no columns, adds one column per field.
PROCEDURE XBrwBindArea( oBrw, cAlias, lAddColumns )
   LOCAL n, nFields
   IF oBrw:bGoTop == NIL
      oBrw:bGoTop := {|| XBrwInArea( cAlias, {|| DbGoTop() } ) }
   ENDIF
   IF oBrw:bGoBottom == NIL
      oBrw:bGoBottom := {|| XBrwInArea( cAlias, {|| DbGoBottom() } ) }
   ENDIF
   IF oBrw:bSkip == NIL
      oBrw:bSkip := {| n | XBrwInArea( cAlias, {| n | DbSkipper( n ) }, n, 0 ) }
   ENDIF
   IF oBrw:bBof == NIL
      oBrw:bBof := {|| XBrwInArea( cAlias, {|| Bof() }, NIL, .T. ) }
   ENDIF
   IF oBrw:bEof == NIL
      oBrw:bEof := {|| XBrwInArea( cAlias, {|| Eof() }, NIL, .T. ) }
   ENDIF
   IF oBrw:bBookMark == NIL
      oBrw:bBookMark := {| n | XBrwInArea( cAlias, {| n | IIf( n == NIL, RecNo(), DbGoto( n ) ) }, n, 0 ) }
   ENDIF
   IF oBrw:bKeyNo == NIL
      oBrw:bKeyNo := {| n | XBrwInArea( cAlias, {| n | IIf( n == NIL, OrdKeyNo(), OrdKeyGoto( n ) ) }, n, 0 ) }
   ENDIF
   IF oBrw:bKeyCount == NIL
      oBrw:bKeyCount := {|| XBrwInArea( cAlias, {|| OrdKeyCount() }, NIL, 0 ) }
   ENDIF
   IF oBrw:bSeek == NIL
      oBrw:bSeek := {| c | XBrwInArea( cAlias, {| c | XBrwSeekKey( c ) }, c, .F. ) }
   ENDIF
   IF lAddColumns .AND. Empty( oBrw:aCols )
      nFields := XBrwInArea( cAlias, {|| FCount() }, NIL, 0 )
      FOR n := 1 TO nFields
         XBrwFieldColumn( oBrw:AddCol(), cAlias, n )
      NEXT
   ENDIF
RETURN

// The default incremental search of a grid over a work area: goes to the first key of the
// current order that begins with cText (a numeric key: the first not below its value) and
// answers whether there is one; otherwise, and without an order, the record stays.
FUNCTION XBrwSeekKey( cText )
   LOCAL nRec := RecNo(), cKey := OrdKey()
   IF Empty( cKey ) .OR. Empty( cText )
      RETURN .F.
   ENDIF
   SWITCH ValType( &( cKey ) )
   CASE "C"
      IF DbSeek( cText, .F. )
         RETURN .T.
      ENDIF
      EXIT
   CASE "N"
      IF DbSeek( Val( cText ), .T. ) .OR. !Eof()
         RETURN .T.
      ENDIF
      EXIT
   ENDSWITCH
   DbGoto( nRec )
RETURN .F.

// Makes oCol show field n of cAlias, titled with the field's name.
STATIC PROCEDURE XBrwFieldColumn( oCol, cAlias, n )
   oCol:cHeader := XBrwInArea( cAlias, {|| FieldName( n ) }, NIL, "" )
   oCol:bStrData := {|| XBrwInArea( cAlias, {|| XBrwValueText( FieldGet( n ) ) }, NIL, "" ) }
RETURN

// The text a cell shows for a field value.
FUNCTION XBrwValueText( xValue )
   SWITCH ValType( xValue )
   CASE "C"
   CASE "M"
      RETURN xValue
   CASE "N"
      RETURN Str( xValue )
   CASE "D"
      RETURN DToC( xValue )
   CASE "L"
      RETURN IIf( xValue, ".T.", ".F." )
   ENDSWITCH
RETURN ""
