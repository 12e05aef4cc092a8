// After the soak: replays each worker's log of committed operations and compares the table
// with the result record by record (name, note, deleted flag); then CDXCHECK() and one key
// per record in every tag. ERRORLEVEL 1 on any difference.
PROCEDURE Main(cWorkers)
   LOCAL nWorkers := VAL(cWorkers), nW, aWant := PV_HASH(), cKey, aRec, nFaults := 0
   LOCAL nRecords := 0, cFault, n
   ERRORBLOCK({|e| BREAK(e)})
   SET DELETED OFF
   FOR nW := 1 TO nWorkers
      Replay(nW, aWant)
   NEXT
   USE soak SHARED
   DBGOTOP()
   DO WHILE !EOF()
      nRecords++
      cKey := STR(WORKER, 4) + STR(SEQ, 8)
      IF !PV_HHASKEY(aWant, cKey)
         ? "record not in any log:", cKey
         nFaults++
      ELSE
         aRec := aWant[cKey]
         IF TRIM(NAME) != aRec[1] .OR. NOTE != Note(aRec[1]) .OR. DELETED() != aRec[2]
            ? "record differs from the replay:", cKey, TRIM(NAME), aRec[1], DELETED(), aRec[2]
            nFaults++
         ENDIF
      ENDIF
      DBSKIP()
   ENDDO
   IF nRecords != LEN(aWant)
      ? "records", nRecords, "logged appends", LEN(aWant)
      nFaults++
   ENDIF
   cFault := CDXCHECK()
   IF !EMPTY(cFault)
      ? "index:", cFault
      nFaults++
   ENDIF
   FOR n := 1 TO ORDCOUNT()
      DBSETORDER(n)
      IF ORDKEYCOUNT() != RECCOUNT()
         ? "tag", ORDNAME(), ORDKEYCOUNT(), "keys for", RECCOUNT(), "records"
         nFaults++
      ENDIF
   NEXT
   ? "records", nRecords, "faults", nFaults
   IF nFaults > 0
      ERRORLEVEL(1)
   ENDIF
RETURN

// Applies one worker's log to aWant: key -> {name, deleted}.
STATIC PROCEDURE Replay(nWorker, aWant)
   LOCAL cText := MEMOREAD("worker" + LTRIM(STR(nWorker)) + ".log"), nEnd, cLine, cOp, nSeq
   LOCAL cRest, cKey
   DO WHILE (nEnd := AT(CHR(10), cText)) > 0
      cLine := LEFT(cText, nEnd - 1)
      cText := SUBSTR(cText, nEnd + 1)
      cOp := LEFT(cLine, 1)
      cRest := SUBSTR(cLine, 3)
      nSeq := VAL(cRest)
      cKey := STR(nWorker, 4) + STR(nSeq, 8)
      DO CASE
      CASE cOp == "A"
         aWant[cKey] := {SUBSTR(cRest, AT(" ", cRest) + 1), .F.}
      CASE cOp == "K"
         aWant[cKey][1] := SUBSTR(cRest, AT(" ", cRest) + 1)
      CASE cOp == "D" .OR. cOp == "R"
         aWant[cKey][2] := cOp == "D"
      ENDCASE
   ENDDO
RETURN

FUNCTION Note(cName)
RETURN REPLICATE(cName + ";", 1 + LEN(cName) % 30)
