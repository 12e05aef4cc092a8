// After the writers were killed: the table opens; every record a writer logged as committed
// is there once and intact (its latest logged change in place); the index is clean by
// CDXCHECK() or reported damaged and made clean by ORDLISTREBUILD(). Prints one line per
// finding; ERRORLEVEL 1 when a committed record is missing or damaged.
PROCEDURE Main(cFirst, cLast)
   LOCAL nW, nFaults := 0, cFault, aSeen := PV_HASH(), cKey, aLog, cLine, nSeq, hChanged
   LOCAL nChecked := 0
   ERRORBLOCK({|e| BREAK(e)})
   USE crash SHARED
   DBGOTOP()
   // Natural order: the table itself, not the index. A writer killed between DBAPPEND and its
   // REPLACE leaves a blank record (WRITER 0) it never logged; several such are no fault.
   DO WHILE !EOF()
      cKey := STR(WRITER, 4) + STR(SEQ, 8)
      IF WRITER != 0 .AND. PV_HHASKEY(aSeen, cKey)
         ? "record twice:", cKey
         nFaults++
      ENDIF
      aSeen[cKey] := {NAME, NOTE}
      DBSKIP()
   ENDDO
   FOR nW := VAL(cFirst) TO VAL(cLast)
      aLog := Committed(LTRIM(STR(nW)))
      hChanged := ChangedSeqs(aLog)
      FOR EACH cLine IN aLog
         nSeq := VAL(SUBSTR(cLine, 3))
         cKey := STR(nW, 4) + STR(nSeq, 8)
         IF !PV_HHASKEY(aSeen, cKey)
            ? "committed record missing:", cKey
            nFaults++
         ELSEIF !Intact(aSeen[cKey], nW, nSeq, PV_HHASKEY(hChanged, nSeq))
            ? "committed record damaged:", cKey, TRIM(aSeen[cKey][1]), "note:", LEFT(aSeen[cKey][2], 40)
            nFaults++
         ENDIF
         nChecked++
      NEXT
   NEXT
   cFault := CDXCHECK()
   DBCLOSEAREA()
   IF !EMPTY(cFault)
      USE crash EXCLUSIVE
      ORDLISTREBUILD()
      cFault := CDXCHECK()
      ? "index damaged, rebuilt:", IIF(EMPTY(cFault), "clean", cFault)
      IF !EMPTY(cFault)
         nFaults++
      ENDIF
      DBCLOSEAREA()
   ENDIF
   ? "checked", nChecked, "faults", nFaults
   IF nFaults > 0
      ERRORLEVEL(1)
   ENDIF
RETURN

// The complete lines of a writer's log (a line cut by the kill is not counted).
FUNCTION Committed(cWriter)
   LOCAL cText := MEMOREAD("writer" + cWriter + ".log"), aOut := {}, nStart := 1, nEnd
   DO WHILE (nEnd := AT(CHR(10), cText, nStart)) > 0
      AADD(aOut, SUBSTR(cText, nStart, nEnd - nStart))
      nStart := nEnd + 1
   ENDDO
RETURN aOut

// The sequence numbers whose change was committed ("C n" lines).
FUNCTION ChangedSeqs(aLog)
   LOCAL hOut := PV_HASH(), cLine
   FOR EACH cLine IN aLog
      IF LEFT(cLine, 1) == "C"
         hOut[VAL(SUBSTR(cLine, 3))] := .T.
      ENDIF
   NEXT
RETURN hOut

// Name and note of one version, or (when the change may have happened) of either version.
FUNCTION Intact(aRec, nWriter, nSeq, lChanged)
   LOCAL n
   FOR n := IIF(lChanged, 1, 0) TO 1
      IF TRIM(aRec[1]) == RecordName(nWriter, nSeq, n) .AND. aRec[2] == RecordNote(nWriter, nSeq, n)
         RETURN .T.
      ENDIF
   NEXT
RETURN .F.

FUNCTION RecordName(nWriter, nSeq, nVersion)
RETURN "W" + LTRIM(STR(nWriter)) + "/" + LTRIM(STR(nSeq)) + "/v" + LTRIM(STR(nVersion))

FUNCTION RecordNote(nWriter, nSeq, nVersion)
RETURN REPLICATE(RecordName(nWriter, nSeq, nVersion) + " ", 1 + nSeq % 40)
