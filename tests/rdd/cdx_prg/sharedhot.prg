// A record is changed in one area while another area (another program, in real use) builds a
// tag of the shared index from the file: the tag is built from the record as it was, and the
// change must replace that entry, not add a second one. The same for an appended record that
// was still blank in the file when the tag was built, for a tag recreated under its old name
// with another key, and for a change of a field that only the new tag keys.
PROCEDURE Main()
   ERRORBLOCK({|e| BREAK(e)})
   USE PRODUCT SHARED
   ? ORDCREATE(, "BYID", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
   USE PRODUCT SHARED NEW ALIAS P2
   DBGOTO(3)
   ? RLOCK()
   REPLACE ID_NR WITH 777                    // hot: not yet in the file
   SELECT 1
   ? ORDCREATE(, "NEWID", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
   ? ORDCREATE(, "BYID", "STR(99999 - ID_NR)", {|| STR(99999 - ID_NR)}, .F.)
   SELECT P2
   DBCOMMIT()
   DBUNLOCK()
   Check("after the change")
   SELECT P2
   DBAPPEND()                                // blank in the file, hot here
   REPLACE ID_NR WITH 888
   SELECT 1
   ? ORDCREATE(, "LATE", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
   SELECT P2
   DBCOMMIT()
   DBUNLOCK()
   Check("after the append")
   SELECT P2
   DBGOTO(4)
   ? RLOCK()
   REPLACE ID_NR WITH 999
   SELECT 1
   ? ORDCREATE(, "NEWID", "STR(ID_NR)", {|| STR(ID_NR)}, .F.)
   SELECT P2
   ? ORDCOUNT()                              // loads the file again while hot
   DBCOMMIT()
   DBUNLOCK()
   Check("after a reload while hot")
   SELECT P2
   DBGOTO(5)
   ? RLOCK()
   REPLACE CUSTOMER WITH "zzzz"              // no tag known here keys this field
   SELECT 1
   ? ORDCREATE(, "CUST", "CUSTOMER", {|| CUSTOMER}, .F.)
   SELECT P2
   DBCOMMIT()
   DBUNLOCK()
   Check("after a change of a field only a new tag keys")
   SET ORDER TO TAG CUST
   DBGOBOTTOM()
   ? RECNO(), CUSTOMER
RETURN

// Every order walks each record once, and the changed values are where their keys say.
PROCEDURE Check(cWhen)
   LOCAL n, aSeen, nTwice
   SELECT 1
   ? cWhen, CDXCHECK() == "", LASTREC()
   FOR n := 1 TO ORDCOUNT()
      SET ORDER TO n
      aSeen := ARRAY(LASTREC())
      AFILL(aSeen, .F.)
      nTwice := 0
      DBGOTOP()
      DO WHILE !EOF()
         IF aSeen[RECNO()]
            nTwice++
         ENDIF
         aSeen[RECNO()] := .T.
         DBSKIP()
      ENDDO
      ? "", ORDNAME(), ORDKEYCOUNT(), nTwice, ASCAN(aSeen, .F.)
   NEXT
   SET ORDER TO TAG NEWID
   ? DBSEEK(Key(777)), RECNO(), DBSEEK(Key(888)), RECNO(), DBSEEK(Key(999)), RECNO()
   SET ORDER TO 0
RETURN

// A number as the tags above key it.
FUNCTION Key(n)
RETURN STR(n, LEN(STR(FIELD->ID_NR)))
