// A writer that is killed at a random moment: appends records in shared use and, every third
// record, changes the name (a key) and the note of its previous record. After each commit it
// writes a line to its log: "A n" when record n is committed, "C n" when its change is.
PROCEDURE Main(cWriter)
   LOCAL nWriter := VAL(cWriter), nSeq := 0
   LOCAL hLog := FCREATE("writer" + cWriter + ".log")
   USE crash SHARED NEW
   SET ORDER TO TAG WS
   DO WHILE .T.
      nSeq++
      IF !DBAPPEND()
         LOOP
      ENDIF
      REPLACE WRITER WITH nWriter, SEQ WITH nSeq, NAME WITH RecordName(nWriter, nSeq, 0), ;
              NOTE WITH RecordNote(nWriter, nSeq, 0)
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
