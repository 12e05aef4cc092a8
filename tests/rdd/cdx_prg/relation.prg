// Relations into a child with an index: the key is sought in the child's controlling order
// (character and numeric keys); without an order the child goes by record number, and a
// character key then is a data-type error.
PROCEDURE Main()
   LOCAL n, oErr
   DBCREATE("cities", {{"CITY", "C", 10, 0}, {"ZIP", "N", 5, 0}})
   DBCREATE("people", {{"NAME", "C", 8, 0}, {"CITY", "C", 10, 0}, {"ZIP", "N", 5, 0}})
   USE cities NEW EXCLUSIVE
   FOR n := 1 TO 4
      DBAPPEND()
      FIELDPUT(1, {"Bern", "Aarau", "Chur", "Davos"}[n])
      FIELDPUT(2, {3000, 5000, 7000, 7270}[n])
   NEXT
   INDEX ON CITY TAG city
   INDEX ON ZIP TAG zip
   USE people NEW EXCLUSIVE
   FOR n := 1 TO 4
      DBAPPEND()
      FIELDPUT(1, "p" + STR(n, 1))
      FIELDPUT(2, {"Chur", "Bern", "Zug", "Aarau"}[n])
      FIELDPUT(3, {7000, 3000, 6300, 7270}[n])
   NEXT
   cities->(ORDSETFOCUS("city"))
   SET RELATION TO CITY INTO cities
   ? "by city:", DBRELATION()
   Show()
   DBCLEARRELATION()
   cities->(ORDSETFOCUS("zip"))
   DBSETRELATION("cities", {|| people->ZIP}, "ZIP")
   ? "by zip:", DBRELATION()
   Show()
   DBCLEARRELATION()
   cities->(DBSETORDER(0))
   DBSETRELATION("cities", {|| RECNO()}, "RECNO()")
   ? "by record number:"
   Show()
   DBCLEARRELATION()
   DBGOTOP()
   ERRORBLOCK({|e| BREAK(e)})
   BEGIN SEQUENCE
      SET RELATION TO CITY INTO cities
      ? "character key, no order: no error"
   RECOVER USING oErr
      ? "character key, no order:", oErr:genCode, oErr:description
   END SEQUENCE
   DBCLOSEALL()
   ?
RETURN

PROCEDURE Show()
   DBGOTOP()
   DO WHILE !EOF()
      ? "  ", NAME, CITY, ZIP, "->", cities->(RECNO()), cities->CITY, cities->ZIP, cities->(EOF()), cities->(FOUND())
      DBSKIP()
   ENDDO
RETURN
