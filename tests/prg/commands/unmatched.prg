// A command written wrongly: the error names the command beside the place the parser stopped.
PROCEDURE Main()
   LOCAL x
   SUM TO x
   COPY STRUCTURE x
   SET FILTER x
   LOCATE WHILE
   RETURN
