// Triggers: every event reaches the trigger function, put and get may change the value, and a
// false answer stops the operation.
STATIC s_aLog := {}

PROCEDURE Main()
   DBCREATE("tr", {{"NAME", "C", 8, 0}})
   RDDINFO(40, "LOGTRIGGER", "DBF")
   USE tr NEW VIA "DBF"
   DBAPPEND()
   FIELDPUT(1, "lower")
   ? "stored:", FIELDGET(1)
   DBDELETE()
   DBRECALL()
   FIELDPUT(1, "refused")
   ? "after refused put:", FIELDGET(1)
   DBCOMMIT()
   PACK
   ZAP
   DBCLOSEAREA()
   AEVAL(s_aLog, {|c| QOUT(c)})
RETURN

FUNCTION LogTrigger(nEvent, nArea, nField, xValue)
   AADD(s_aLog, STR(nEvent, 2) + STR(nArea, 2) + STR(nField, 2) + " " + VALTYPE(xValue))
   IF nEvent == 9
      IF xValue == "refused"
         RETURN .F.
      ENDIF
      xValue := UPPER(xValue)
   ELSEIF nEvent == 10
      xValue := "<" + TRIM(xValue) + ">"
   ENDIF
RETURN .T.
