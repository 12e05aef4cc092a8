// Unbalanced conditional directives are compile errors.
PROCEDURE Main()
#else
   ? 1
#endif
RETURN
