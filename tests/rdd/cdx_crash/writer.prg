// A writer that is killed at a random moment: appends records in shared use and, every third
// record, changes the name (a key) and the note of its previous record. After each commit it
// writes a line to its log: "A n" when record n is committed, "C n" when its change is.
// With a second argument it has the table in exclusive use and commits every 50th record only
// (logging the records of each commit): its keys stay in memory between commits.
PROCEDURE Main(cWriter, cExclusive)
   LOCAL nWriter := VAL(cWriter), nSeq := 0, nFrom := 1, lExclusive := !EMPTY(cExclusive)
   LOCAL hLog := FCREATE("writer" + cWriter + ".log")
   IF lExclusive
      USE crash EXCLUSIVE NEW
   ELSE
      USE crash SHARED NEW
   ENDIF
   SET ORDER TO TAG WS
   DO WHILE .T.
      nSeq++
      IF !DBAPPEND()
         LOOP
      ENDIF
      REPLACE WRITER WITH nWriter, SEQ WITH nSeq, NAME WITH RecordName(nWriter, nSeq, 0), ;
              NOTE WITH RecordNote(nWriter, nSeq, 0)
      IF lExclusive
         IF nSeq % 50 == 0
            DBCOMMIT()
            AEVAL(ARRAY(nSeq - nFrom + 1), {|x, i| FWRITE(hLog, "A " + LTRIM(STR(nFrom + i - 1)) + CHR(10))})
            nFrom := nSeq + 1
         ENDIF
         LOOP
      ENDIF
      DBCOMMIT()
      DBUNLOCK()
      FWRITE(hLog, "A " + LTRIM(STR(nSeq)) + CHR(10))
      IF nSeq % 3 == 0 .AND. DBSEEK(STR(nWriter, 4) + STR(nSeq - 1, 8)) .AND. RLOCK()
         REPLACE NAME WITH RecordName(nWriter, nSeq - 1, 1), NOTE WITH RecordNote(nWriter, nSeq - 1, 1)
         DBCOMMIT()
         DBUNLOCK()
         FWRITE(hLog, "C " + LTRIM(STR(nSeq - 1)) + CHR(10))
      ENDIF
   ENDDO
RETURN

FUNCTION RecordName(nWriter, nSeq, nVersion)
RETURN "W" + LTRIM(STR(nWriter)) + "/" + LTRIM(STR(nSeq)) + "/v" + LTRIM(STR(nVersion))

FUNCTION RecordNote(nWriter, nSeq, nVersion)
RETURN REPLICATE(RecordName(nWriter, nSeq, nVersion) + " ", 1 + nSeq % 40)
