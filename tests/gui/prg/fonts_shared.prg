// Fonts are shared by reference count: an equal request returns the listed object; two End
// calls delete the handle once and take it off the list. Brushes of one colour are shared too.
PROCEDURE Main()
   LOCAL oFont1, oFont2, oFont3, nListed := NFontsListed(), oBrush1, oBrush2
   oFont1 := TFont():New( "Arial", 0, -14, , .T. )
   oFont2 := TFont():New( "Arial", 0, -14, , .T. )
   oFont3 := TFont():New( "Arial", 0, -14 )
   ? "same object", oFont1 == oFont2, "count", oFont1:nCount, "weight", oFont1:nWeight
   ? "plain differs", oFont3 == oFont1, "count", oFont3:nCount, "listed", NFontsListed() - nListed
   ? "handle", oFont1:hFont != 0
   oFont1:End()
   ? "after one End", oFont2:nCount, oFont2:hFont != 0
   oFont2:End()
   ? "after two", oFont2:nCount, oFont2:hFont, "listed", NFontsListed() - nListed
   oFont3:End()
   oFont1 := TFont():New( "SYSTEM_FONT" )
   ? "stock font", oFont1:lStock, oFont1:hFont != 0
   oFont1:End()
   oFont1 := TFont():New( "SysTahoma", 0, -8 )
   ? "tahoma", oFont1:cFaceName, oFont1:nHeight
   oFont1:End()
   oBrush1 := TBrush():New( , 255 )
   oBrush2 := TBrush():New( , 255 )
   ? "brush shared", oBrush1 == oBrush2, oBrush1:nCount
   oBrush1:End()
   oBrush2:End()
   ? "brush gone", oBrush1:hBrush
RETURN
