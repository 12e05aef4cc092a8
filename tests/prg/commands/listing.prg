// LIST and DISPLAY: all fields, chosen expressions, OFF, and their default scopes.
PROCEDURE Main()
   MakePeople()
   LIST NAME, AGE FOR CITY = "Munich"
   GO TOP
   LIST Upper( NAME ), AGE * 2 OFF NEXT 2
   GO 3
   DISPLAY
   DISPLAY NAME OFF NEXT 2
   DISPLAY NAME, CITY FOR AGE > 50
   GO TOP
   LIST OFF WHILE AGE < 40
   RETURN

#include "people.ch"
