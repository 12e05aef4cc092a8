// An ERROR HANDLER method without a body is reported once, like any other method.
PROCEDURE Main()
   ? "never printed"
RETURN

CLASS TCatch
   ERROR HANDLER Catch
ENDCLASS
