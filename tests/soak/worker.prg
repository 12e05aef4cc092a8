// One soak worker: mixed operations on the shared table — append, key change, delete and
// recall of its own records, seeks and skips over all of them, and PACK (refused while
// shared). Each committed change is logged as a line "A|K|D|R seq [name]" to worker<n>.log;
// seeks of its own records are checked against what it wrote. Prints its counts at the end.
PROCEDURE Main(cWorker, cOps)
   LOCAL nWorker := VAL(cWorker), nOps := VAL(cOps), n, nDo, nSeq := 0, nPick, cName
   LOCAL hLog := FCREATE("worker" + cWorker + ".log"), aNames := {}, aDeleted := {}
   LOCAL nSeekFaults := 0, nPackRefused := 0, nLockFailed := 0
   ERRORBLOCK({|e| BREAK(e)})
   Rand(1, nWorker)
   SET DELETED OFF
   USE soak SHARED NEW
   SET ORDER TO TAG WS
   FOR n := 1 TO nOps
      nDo := Rand(100)
      nPick := IIF(nSeq > 0, Rand(nSeq), 0)
      DO CASE
      CASE nDo <= 30 .OR. nSeq == 0
         IF DBAPPEND()
            nSeq++
            cName := "W" + LTRIM(STR(nWorker)) + "-" + LTRIM(STR(nSeq)) + "-0"
            REPLACE WORKER WITH nWorker, SEQ WITH nSeq, NAME WITH cName, NOTE WITH Note(cName)
            DBCOMMIT()
            DBUNLOCK()
            AADD(aNames, cName)
            AADD(aDeleted, .F.)
            FWRITE(hLog, "A " + LTRIM(STR(nSeq)) + " " + cName + CHR(10))
         ELSE
            nLockFailed++
         ENDIF
      CASE nDo <= 55
         IF Goto(nWorker, nPick) .AND. RLOCK()
            cName := "W" + LTRIM(STR(nWorker)) + "-" + LTRIM(STR(nPick)) + "-" + LTRIM(STR(n))
            REPLACE NAME WITH cName, NOTE WITH Note(cName)
            DBCOMMIT()
            DBUNLOCK()
            aNames[nPick] := cName
            FWRITE(hLog, "K " + LTRIM(STR(nPick)) + " " + cName + CHR(10))
         ELSE
            nLockFailed++
         ENDIF
      CASE nDo <= 75
         IF Goto(nWorker, nPick) .AND. RLOCK()
            IF nDo <= 65
               DBDELETE()
            ELSE
               DBRECALL()
            ENDIF
            DBCOMMIT()
            DBUNLOCK()
            aDeleted[nPick] := nDo <= 65
            FWRITE(hLog, IIF(nDo <= 65, "D ", "R ") + LTRIM(STR(nPick)) + CHR(10))
         ELSE
            nLockFailed++
         ENDIF
      CASE nDo <= 90
         IF !Goto(nWorker, nPick) .OR. TRIM(NAME) != aNames[nPick] .OR. ;
            DELETED() != aDeleted[nPick] .OR. NOTE != Note(aNames[nPick])
            nSeekFaults++
         ENDIF
      CASE nDo <= 99
         DBSKIP(Rand(21) - 11)
      OTHERWISE
         BEGIN SEQUENCE
            PACK
         RECOVER
            nPackRefused++
         END SEQUENCE
      ENDCASE
   NEXT
   FCLOSE(hLog)
   ? "worker", nWorker, "records", nSeq, "seek faults", nSeekFaults, "pack refused", ;
     nPackRefused, "lock failures", nLockFailed
   IF nSeekFaults > 0
      ERRORLEVEL(1)
   ENDIF
RETURN

STATIC FUNCTION Goto(nWorker, nSeq)
RETURN nSeq > 0 .AND. DBSEEK(STR(nWorker, 4) + STR(nSeq, 8))

FUNCTION Note(cName)
RETURN REPLICATE(cName + ";", 1 + LEN(cName) % 30)

// A small generator (Park-Miller); nInit, when given, starts the worker's own sequence.
FUNCTION Rand(nMax, nInit)
   STATIC nSeed := 1
   IF nInit != NIL
      nSeed := (INT(SECONDS() * 1000) + nInit * 7919) % 2147483646 + 1
   ENDIF
   nSeed := (nSeed * 16807) % 2147483647
RETURN INT(nSeed % nMax) + 1
