// A class of the program inherits from a class of the GUI library before anything else of the
// library has been used: finding the parent class loads the library.
PROCEDURE Main()
   LOCAL oBrush := TRedBrush():New()
   ? oBrush:ClassName(), oBrush:nRGBColor, oBrush:hBrush != 0, oBrush:Kind()
   oBrush:End()
RETURN

CLASS TRedBrush FROM TBrush
   METHOD New() CONSTRUCTOR INLINE ::Super:New( , 255 )
   METHOD Kind() INLINE "red"
ENDCLASS
