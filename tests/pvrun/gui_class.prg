// The first use of the GUI library is one of its classes, through its class function; the
// class's module statics are initialised when the library is loaded (brushes are shared).
PROCEDURE Main()
   LOCAL oBrush1 := TBrush():New( , 255 ), oBrush2 := TBrush():New( , 255 )
   ? oBrush1:ClassName(), "shared", oBrush1 == oBrush2, oBrush1:nCount
   oBrush2:End()
   oBrush1:End()
   ? "gone", oBrush1:hBrush
RETURN
