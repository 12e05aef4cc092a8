// The grid steps of UI scripts: a control that answers UiHeaderPoint and UiCellPoint is
// clicked where it says; NIL means no such column (the step fails, exit code 3).
PROCEDURE Main()
   LOCAL oDlg := TDialog():New( 2, 2, 12, 40, "Grid test" )
   TFakeGrid():New( oDlg )
   TButton():New( 4, 1, "&Plain", oDlg, {|| NIL }, 40, 12 )
   oDlg:Activate()
RETURN

CLASS TFakeGrid FROM TControl
   METHOD New( oWnd )
   METHOD UiHeaderPoint( nCol ) INLINE iif( nCol <= 3, { nCol * 20, 4 }, NIL )
   METHOD UiCellPoint( nRow, nCol ) INLINE iif( nCol <= 3, { nCol * 20, 10 + nRow * 10 }, NIL )
   METHOD LButtonDown( nRow, nCol ) INLINE ( QOut( "button down at", nCol, nRow ), 0 )
ENDCLASS

METHOD New( oWnd ) CLASS TFakeGrid
   ::nStyle := nOr( 0x40000000, 0x10000000 )
   ::Place( 5, 5, 100, 60, oWnd, .F. )
   ::Register()
   oWnd:DefControl( Self )
RETURN Self
