// Relational operators: texts under SET EXACT off and on, == always exact, dates, logicals, numbers.
PROCEDURE Main()
   ? "ABC" = "AB", "AB" = "ABC", "AB " = "AB", "ABC" == "AB", "AB" == "AB", "" = "X", "X" = ""
   ? "ABC" != "AB", "AB" < "ABC", "ABC" > "AB", "AB" <= "ABC", "ABC" >= "AB", "a" > "B", "ä" > "z"
   SET(1, .T.)
   ? "ABC" = "AB", "AB" = "ABC", "AB " = "AB", "AB" = "AB  ", "ABC" == "AB", "AB " == "AB", "" = "X", "X" = ""
   ? "ABC" != "AB", "AB" < "ABC", "AB" <= "AB ", "AB " > "AB"
   SET EXACT OFF
   ? "ABC" = "AB", SET(1)
   ? 0d20240229 < 0d20240301, 0d20240301 - 0d20240228, 0d20240228 + 2, 3 + 0d20241231, 0d20240301 - 1
   ? .F. < .T., .T. <= .T., .T. > .F., 2 < 10, 2.5 >= 2, -1 < 0
   ? 0d20240301 > 2460000, DTOS(0d20240229 + 1), VALTYPE(0d20240301 - 0d20240228)
RETURN
