// SUM, AVERAGE and COUNT over every kind of scope, FOR and WHILE together included.
PROCEDURE Main()
   LOCAL nAge, nSalary, nCount, nAvgAge, nAvgSalary
   MakePeople()
   SUM AGE, SALARY TO nAge, nSalary
   ? "sum all", nAge, nSalary
   COUNT TO nCount FOR CITY = "Berlin"
   ? "count Berlin", nCount
   AVERAGE AGE, SALARY TO nAvgAge, nAvgSalary FOR ACTIVE
   ? "average active", nAvgAge, nAvgSalary
   AVERAGE AGE TO nAvgAge FOR AGE > 100
   ? "average of none", nAvgAge
   GO 3
   SUM AGE TO nAge NEXT 2
   ? "next 2 from 3", nAge, RecNo()
   SUM AGE TO nAge RECORD 5
   ? "record 5", nAge
   GO 6
   COUNT TO nCount REST
   ? "rest from 6", nCount
   GO TOP
   SUM SALARY TO nSalary WHILE AGE < 50 FOR ACTIVE
   ? "while age < 50 for active", nSalary
   GO 2
   COUNT TO nCount WHILE CITY != "Munich" ALL
   ? "while with all", nCount
   sum AGE to nAge all
   ? "lower case", nAge
   RETURN

#include "people.ch"
